// SPDX-License-Identifier: GPL-3.0-or-later
// The ICU module: locale number formatting and parsing, loaded by NumberFormat on first use.
#include "platform/NumberFormatBackend.hpp"

#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/unistr.h>

#include <cmath>
#include <memory>

namespace quorvel {

namespace {

std::unique_ptr<icu::NumberFormat> decimalFormat()
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> f(icu::NumberFormat::createInstance(icu::Locale::getDefault(), status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return f;
}

std::string_view trim(std::string_view s)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

class IcuNumberFormat final : public NumberFormatBackend {
public:
    std::string formatDecimal(double value, int minFraction, int maxFraction) override;
    std::optional<double> parseDecimal(std::string_view text) override;
    std::string decimalSeparator() override;
};

std::string IcuNumberFormat::formatDecimal(double value, int minFraction, int maxFraction)
{
    std::unique_ptr<icu::NumberFormat> f = decimalFormat();
    if (!f) {
        return {};
    }
    f->setGroupingUsed(false);
    f->setMinimumFractionDigits(minFraction);
    f->setMaximumFractionDigits(maxFraction);
    f->setRoundingMode(icu::NumberFormat::kRoundHalfEven);
    icu::UnicodeString out;
    f->format(value, out);
    std::string utf8;
    out.toUTF8String(utf8);
    return utf8;
}

std::optional<double> IcuNumberFormat::parseDecimal(std::string_view text)
{
    text = trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    std::unique_ptr<icu::NumberFormat> f = decimalFormat();
    if (!f) {
        return std::nullopt;
    }
    const icu::UnicodeString input = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    icu::Formattable result;
    icu::ParsePosition pos(0);
    f->parse(input, result, pos);
    if (pos.getIndex() != input.length() || pos.getErrorIndex() >= 0) {
        return std::nullopt;  // trailing letters make the whole entry unreadable
    }
    UErrorCode status = U_ZERO_ERROR;
    const double value = result.getDouble(status);
    if (U_FAILURE(status) || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string IcuNumberFormat::decimalSeparator()
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu::Locale::getDefault(), status);
    if (U_FAILURE(status)) {
        return ".";
    }
    std::string utf8;
    symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol).toUTF8String(utf8);
    return utf8;
}

}  // namespace

}  // namespace quorvel

extern "C" __attribute__((visibility("default"))) quorvel::NumberFormatBackend* quorvel_number_format()
{
    static quorvel::IcuNumberFormat backend;
    return &backend;
}
