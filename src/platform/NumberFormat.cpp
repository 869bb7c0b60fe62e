#include "platform/NumberFormat.hpp"

#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/LoadableModule.hpp"
#include "platform/Log.hpp"
#include "platform/NumberFormatBackend.hpp"

namespace quorvel {

namespace {

// The plain style, for a system where the ICU module is missing: better plain figures than none.
class PlainNumberFormat final : public NumberFormatBackend {
public:
    std::string formatDecimal(double value, int minFraction, int maxFraction) override
    {
        char buffer[400];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, maxFraction);
        if (ec != std::errc()) {
            return {};
        }
        std::string text(buffer, end);
        const auto point = text.find('.');
        if (point != std::string::npos) {
            std::size_t keep = text.size();
            while (keep > point + 1 + static_cast<std::size_t>(minFraction) && text[keep - 1] == '0') {
                --keep;
            }
            text.resize(text[keep - 1] == '.' ? keep - 1 : keep);
        }
        return text == "-0" ? "0" : text;
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
            return reinterpret_cast<NumberFormatBackendEntry>(entry)();
        }
        Log::line("Numbers are shown without the locale's style: " + why);
        static PlainNumberFormat plain;
        return plain;
    }();
    return once;
}

}  // namespace

std::string NumberFormat::formatDecimal(double value, int minFraction, int maxFraction)
{
    return backend().formatDecimal(value, minFraction, maxFraction);
}

std::optional<double> NumberFormat::parseDecimal(std::string_view text)
{
    return backend().parseDecimal(text);
}

std::string NumberFormat::decimalSeparator()
{
    return backend().decimalSeparator();
}

}  // namespace quorvel
