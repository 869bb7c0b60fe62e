// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace quorvel {

// Which boot of the machine this is: a text the kernel makes anew at every boot, so that two
// samples tell whether the counters between them began again from zero.
class BootIdSource {
public:
    virtual ~BootIdSource() = default;
    // Absent when it cannot be read.
    virtual std::optional<std::string> bootId() const = 0;
};

// The kernel's /proc/sys/kernel/random/boot_id, or a file standing in for it.
class BootIdentity final : public BootIdSource {
public:
    static constexpr const char* kKernelFile = "/proc/sys/kernel/random/boot_id";
    explicit BootIdentity(std::filesystem::path file = kKernelFile) : file_(std::move(file)) {}
    std::optional<std::string> bootId() const override;

private:
    std::filesystem::path file_;
};

}  // namespace quorvel
