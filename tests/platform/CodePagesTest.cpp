// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <cstdint>
#include <numeric>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "MappedPages.hpp"
#include "platform/CodePages.hpp"

namespace quorvel {
namespace {

// 1 MiB of constants: a touch of their neighbours maps a few of their pages again (the kernel maps
// up to 64 KiB around a fault), most stay unmapped.
constexpr std::size_t kEntries = 256 * 1024;

constexpr std::array<std::uint32_t, kEntries> table()
{
    std::array<std::uint32_t, kEntries> t{};
    for (std::size_t i = 0; i < kEntries; ++i) {
        t[i] = static_cast<std::uint32_t>(i * 2654435761u);
    }
    return t;
}

alignas(65536) const std::array<std::uint32_t, kEntries> kTable = table();
// Relocated at start-up: its pages are the process's, however read-only they look later.
const char* const kWords[] = {"alpha", "beta", "gamma"};
int counter = 41;

std::uint64_t sum()
{
    return std::accumulate(kTable.begin(), kTable.end(), std::uint64_t{0});
}

using test::mappedPages;

TEST(CodePages, ReleasedConstantsAreMappedAgainOnUseWhileWrittenDataStays)
{
    const std::uint64_t expected = sum();
    counter = 42;
    const std::size_t pages = mappedPages(kTable.data(), kTable.data() + kTable.size());
    ASSERT_GT(pages, 128u) << "the table was just read";

    ASSERT_GT(CodePages::releaseOwn(), kEntries * sizeof(std::uint32_t));
    EXPECT_LT(mappedPages(kTable.data(), kTable.data() + kTable.size()), pages / 4);

    EXPECT_EQ(sum(), expected) << "read again from the file";
    EXPECT_EQ(std::string_view(kWords[0]), "alpha");
    EXPECT_EQ(std::string_view(kWords[2]), "gamma") << "relocated pointers are left alone";
    EXPECT_EQ(counter, 42) << "written data is left alone";
}

TEST(CodePages, OnlyTheObjectThatHoldsTheAddressIsReleased)
{
    EXPECT_GT(CodePages::releaseObjectAt(kTable.data()), 0u);
    EXPECT_EQ(sum(), std::accumulate(kTable.begin(), kTable.end(), std::uint64_t{0}));
    const int onTheStack = 0;
    EXPECT_EQ(CodePages::releaseObjectAt(&onTheStack), 0u) << "the stack belongs to no loaded object";
}

// What may be unmapped of a segment: whole pages inside it, less the pages the kept span touches.
TEST(CodePages, ReleasableSpansKeepTheWaitingCodesPages)
{
    using Span = CodePages::Span;
    struct Case {
        Span segment;
        Span kept;
        std::vector<Span> releasable;
    };
    const Case cases[] = {
        {{0x1008, 0x8ff8}, {}, {{0x2000, 0x8000}}},                                  // nothing kept
        {{0x1000, 0x9000}, {0x3010, 0x4010}, {{0x1000, 0x3000}, {0x5000, 0x9000}}},  // kept inside
        {{0x1000, 0x9000}, {0x3000, 0x4000}, {{0x1000, 0x3000}, {0x4000, 0x9000}}},  // on page edges
        {{0x1000, 0x9000}, {0x0800, 0x2010}, {{0x3000, 0x9000}}},                    // over the start
        {{0x1000, 0x9000}, {0x8ff0, 0xa000}, {{0x1000, 0x8000}}},                    // over the end
        {{0x1000, 0x9000}, {0x0000, 0xa000}, {}},                                    // all of it
        {{0x1000, 0x9000}, {0xa000, 0xb000}, {{0x1000, 0x9000}}},                    // another segment's
        {{0x1000, 0x9000}, {0x9000, 0x9400}, {{0x1000, 0x9000}}},                    // just after
        {{0x1010, 0x1ff0}, {}, {}},                                                  // no whole page
        {{0x1000, 0x9000}, {0x4000, 0x4000}, {{0x1000, 0x9000}}},                    // empty span
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePages::releasable(c.segment, c.kept, 0x1000), c.releasable)
            << std::hex << c.segment.begin << "-" << c.segment.end << " keeping " << c.kept.begin << "-" << c.kept.end;
    }
}

}  // namespace
}  // namespace quorvel
