// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/StrictEntry.hpp"

#include <charconv>

#include <limits>

#include "platform/ArchiveDecoder.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The text split at its one decimal point, or nothing when it is not a plain number.
struct Parts {
    std::string_view whole;
    std::string_view fraction;
};

std::optional<Parts> splitPlain(std::string_view text, std::string_view separator)
{
    Parts p{text, {}};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            continue;
        }
        std::size_t width = 0;
        if (text[i] == '.') {
            width = 1;
        } else if (!separator.empty() && text.substr(i).starts_with(separator)) {
            width = separator.size();
        } else {
            return std::nullopt;
        }
        if (p.whole.size() != text.size()) {
            return std::nullopt;  // a second decimal point
        }
        p.whole = text.substr(0, i);
        p.fraction = text.substr(i + width);
        i += width - 1;
    }
    if (p.whole.empty() && p.fraction.empty()) {
        return std::nullopt;  // nothing, or a point alone
    }
    for (char c : p.fraction) {
        if (!isDigit(c)) {
            return std::nullopt;
        }
    }
    return p;
}

// Digits as a number no larger than `limit`; nothing when it is larger.
std::optional<std::uint64_t> digitsUpTo(std::string_view digits, std::uint64_t limit)
{
    std::uint64_t n = 0;
    for (char c : digits) {
        const auto d = static_cast<std::uint64_t>(c - '0');
        if (n > (limit - d) / 10) {
            return std::nullopt;
        }
        n = n * 10 + d;
    }
    return n;
}

}  // namespace

StrictEntry::Read<std::uint64_t> StrictEntry::megabytes(std::string_view text, std::string_view separator,
                                                        bool positive)
{
    const std::string given(text);
    const std::optional<Parts> p = splitPlain(text, separator);
    if (!p) {
        return {std::nullopt,
                Translation::fill(_("'%s' is not a plain number of megabytes (digits with at most one decimal point)"),
                                  {given})};
    }
    // The state file stores byte counts up to this limit and refuses larger ones on reading: a
    // value accepted here must load again.
    constexpr std::uint64_t kMaxBytes = ArchiveDecoder::kMaxByteCount;
    const std::optional<std::uint64_t> whole = digitsUpTo(p->whole, kMaxBytes / kBytesPerMegabyte);
    std::string micro(p->fraction.substr(0, 6));
    micro.resize(6, '0');
    const std::uint64_t part = *digitsUpTo(micro, kBytesPerMegabyte);
    if (!whole || *whole * kBytesPerMegabyte > kMaxBytes - part) {
        return {std::nullopt, Translation::fill(_("'%s' megabytes is too large"), {given})};
    }
    const std::uint64_t bytes = *whole * kBytesPerMegabyte + part;
    if (positive && bytes == 0) {
        return {std::nullopt, Translation::fill(_("'%s' is not more than 0 megabytes"), {given})};
    }
    return {bytes, {}};
}

StrictEntry::Read<std::int32_t> StrictEntry::startDay(std::string_view text)
{
    const std::optional<std::uint64_t> day =
        text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string_view::npos
            ? std::nullopt
            : digitsUpTo(text, 999'999'999);
    if (!day || *day < 1 || *day > 31) {
        return {std::nullopt, Translation::fill(_("'%s' is not a day of the month from 1 to 31"), {std::string(text)})};
    }
    return {static_cast<std::int32_t>(*day), {}};
}

std::optional<int> StrictEntry::wholeNumber(std::string_view text, int low, int high)
{
    int v = 0;
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string_view::npos ||
        std::from_chars(text.data(), text.data() + text.size(), v).ec != std::errc{} || v < low || v > high) {
        return std::nullopt;
    }
    return v;
}

}  // namespace quorvel
