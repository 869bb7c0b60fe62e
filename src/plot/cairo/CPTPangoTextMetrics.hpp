// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "plot/CPTTextMetrics.hpp"
#include "plot/cairo/CPTCairoHandles.hpp"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <tuple>

namespace quorvel {

class CPTGraph;
class CPTTextStyle;

// Text measured with Pango and the system fonts; the engine's font names are tried first and
// the system sans font stands in for any that is missing.
class CPTPangoTextMetrics : public CPTTextMetrics {
public:
    CPTPangoTextMetrics();

    CPTSize sizeOfText(const std::string& text, const std::string& fontName, double fontSize) const override;

    // One set of Pango metrics for every graph of the process (its context and cache are shared).
    static std::shared_ptr<const CPTPangoTextMetrics> instance();
    // Gives the graph Pango's metrics unless it was given metrics of its own.
    static void useFor(CPTGraph& graph);

    // Layout settings shared by measuring and drawing, so both agree on every size.
    static PangoFontDescriptionHandle fontDescription(const std::string& fontName, double fontSize);
    static void configureContext(PangoContext* context);

private:
    PangoContextHandle context_;
    // Measured sizes by text, font and size: labels are measured afresh whenever an axis makes
    // them anew. Starts afresh beyond kCachedSizes entries.
    static constexpr std::size_t kCachedSizes = 512;
    mutable std::map<std::tuple<std::string, std::string, double>, CPTSize> sizes_;
};

}  // namespace quorvel
