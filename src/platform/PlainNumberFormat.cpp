// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlainNumberFormat.hpp"

#include <link.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace quorvel {

namespace {

// Adds one unit in the last place of a string of decimal digits; true when it carries out.
bool incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

bool isPlainName(const char* id)
{
    if (id == nullptr) {
        return true;  // ICU falls back to en_US_POSIX
    }
    std::string_view name(id);
    name = name.substr(0, name.find_first_of(".@"));
    for (const char* plain : {"", "C", "POSIX", "en_US_POSIX", "en", "en_US", "en_GB", "en_AU", "en_CA", "en_IE",
                              "en_NZ", "en_IN"}) {
        if (name == plain) {
            return true;
        }
    }
    return false;
}

// Whether ICU is already in the process; found among the loaded objects, loading nothing.
bool icuLoaded()
{
    return dl_iterate_phdr(
               [](dl_phdr_info* info, std::size_t, void*) {
                   return info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "/libicuuc.so") != nullptr ? 1 : 0;
               },
               nullptr) != 0;
}

bool isUnsetOrC(const char* id)
{
    return id == nullptr || std::strcmp(id, "C") == 0 || std::strcmp(id, "POSIX") == 0;
}

}  // namespace

std::optional<std::string> PlainNumberFormat::formatDecimal(double value, int minFraction, int maxFraction)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    if (ec != std::errc()) {
        return std::nullopt;
    }
    const std::string_view shortest(buffer, static_cast<std::size_t>(end - buffer));
    const auto point = shortest.find('.');
    std::string whole(shortest.substr(0, point));
    std::string fraction(point == std::string_view::npos ? std::string_view() : shortest.substr(point + 1));
    const auto keep = static_cast<std::size_t>(maxFraction);
    if (fraction.size() > keep) {
        const char first = fraction[keep];
        const bool beyondHalf = fraction.find_first_not_of('0', keep + 1) != std::string::npos;
        const char last = keep > 0 ? fraction[keep - 1] : whole.back();
        fraction.resize(keep);
        if (first > '5' || (first == '5' && (beyondHalf || (last - '0') % 2 == 1))) {
            if (incrementDigits(fraction) && incrementDigits(whole)) {
                whole.insert(whole.begin(), '1');
            }
        }
    }
    while (fraction.size() > static_cast<std::size_t>(minFraction) && !fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    fraction.resize(std::max(fraction.size(), static_cast<std::size_t>(minFraction)), '0');
    std::string text = std::signbit(value) ? "-" + whole : whole;
    return fraction.empty() ? text : text + "." + fraction;
}

bool PlainNumberFormat::coversCurrentLocale()
{
    if (icuLoaded()) {
        return false;
    }
    const char* id = std::setlocale(LC_MESSAGES, nullptr);
    if (isUnsetOrC(id)) {
        id = std::getenv("LC_ALL");
        if (id == nullptr) {
            id = std::getenv("LC_MESSAGES");
        }
        if (id == nullptr) {
            id = std::getenv("LANG");
        }
    }
    return isUnsetOrC(id) || isPlainName(id);
}

}  // namespace quorvel
