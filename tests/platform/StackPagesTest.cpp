// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdint>
#include <thread>

#include <gtest/gtest.h>

#include "MappedPages.hpp"
#include "platform/StackPages.hpp"

namespace quorvel {
namespace {

constexpr std::size_t kDepth = 256 * 1024;

// Touches kDepth bytes of stack below the caller's frame; returns where they begin.
[[gnu::noinline]] std::uintptr_t runDeep(unsigned char fill)
{
    volatile unsigned char deep[kDepth];
    for (std::size_t i = 0; i < kDepth; i += 64) {
        deep[i] = fill;
    }
    return reinterpret_cast<std::uintptr_t>(&deep[0]);
}

std::size_t mappedPages(std::uintptr_t begin, std::size_t size)
{
    return test::mappedPages(begin, begin + size);
}

TEST(StackPages, WhatADeepCallLeftBelowTheFrameIsHandedBackAndGrowsAgain)
{
    const std::uintptr_t deep = runDeep(0xab);
    ASSERT_GT(mappedPages(deep, kDepth), kDepth / 4096 / 2) << "the deep call's pages are resident";

    EXPECT_GE(StackPages::releaseBelowCaller(), kDepth / 2);
    EXPECT_LT(mappedPages(deep, kDepth), 4u);

    EXPECT_EQ(runDeep(0xcd), deep) << "the stack grows into the same pages again";
    EXPECT_GT(mappedPages(deep, kDepth), kDepth / 4096 / 2);
    volatile int onTheStack = 42;
    StackPages::releaseBelowCaller();
    EXPECT_EQ(onTheStack, 42) << "the caller's own frame stays";

    unsigned long onAnotherThread = 1;
    std::thread([&onAnotherThread] { onAnotherThread = StackPages::releaseBelowCaller(); }).join();
    EXPECT_EQ(onAnotherThread, 0u) << "only the main thread's stack is [stack]";
}

}  // namespace
}  // namespace quorvel
