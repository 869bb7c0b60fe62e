// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NumberFormat.hpp"

#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/LoadableModule.hpp"
#include "platform/Log.hpp"
#include "platform/NumberFormatBackend.hpp"
#include "platform/PlainNumberFormat.hpp"

namespace quorvel {

namespace {

// The plain style, for a system where the ICU module is missing: better plain figures than none.
class PlainNumberFormatBackend final : public NumberFormatBackend {
public:
    std::string formatDecimal(double value, int minFraction, int maxFraction) override
    {
        return PlainNumberFormat::formatDecimal(value, minFraction, maxFraction).value_or("");
    }
    std::optional<double> parseDecimal(std::string_view text) override
    {
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
            text.remove_prefix(1);
        }
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
            text.remove_suffix(1);
        }
        double value = 0.0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    }
    std::string decimalSeparator() override { return "."; }
};

NumberFormatBackend& backend()
{
    static NumberFormatBackend& once = []() -> NumberFormatBackend& {
        std::string why;
        if (void* entry = LoadableModule::entryPoint(kNumberFormatModuleFile, kNumberFormatEntry, why)) {
            return *reinterpret_cast<NumberFormatBackendEntry>(entry)();
        }
        Log::line("Numbers are shown without the locale's style: " + why);
        static PlainNumberFormatBackend plain;
        return plain;
    }();
    return once;
}

// The locale's style is the plain one, decided once: figures need no ICU then.
bool plainLocale()
{
    static const bool plain = PlainNumberFormat::coversCurrentLocale();
    return plain;
}

}  // namespace

std::string NumberFormat::formatDecimal(double value, int minFraction, int maxFraction)
{
    if (plainLocale()) {
        if (auto text = PlainNumberFormat::formatDecimal(value, minFraction, maxFraction)) {
            return *text;
        }
    }
    return backend().formatDecimal(value, minFraction, maxFraction);
}

std::optional<double> NumberFormat::parseDecimal(std::string_view text)
{
    return backend().parseDecimal(text);
}

std::string NumberFormat::decimalSeparator()
{
    if (plainLocale()) {
        return ".";
    }
    return backend().decimalSeparator();
}

}  // namespace quorvel
