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

    // One set of Pango metrics for every graph of the process: it measures in the drawing's own
    // Pango context (see CPTPangoLayoutCache), so texts are measured at the scale they are drawn
    // at once prepareForImageScale() has been called, and drawn from the layouts that measured them.
    static std::shared_ptr<const CPTPangoTextMetrics> instance();
    // Before a page is laid out for an image of `scale` pixels per point.
    static void prepareForImageScale(double scale);
    // Gives the graph Pango's metrics unless it was given metrics of its own.
    static void useFor(CPTGraph& graph);

    // Layout settings shared by measuring and drawing, so both agree on every size.
    static PangoFontDescriptionHandle fontDescription(const std::string& fontName, double fontSize);
    static void configureContext(PangoContext* context);

private:
    struct InDrawingContext {};

public:
    explicit CPTPangoTextMetrics(InDrawingContext);  // the shared instance's only

private:
    PangoContextHandle context_;  // null: the drawing's context
    // Measured sizes by text, font and size: labels are measured afresh whenever an axis makes
    // them anew. Starts afresh beyond kCachedSizes entries.
    static constexpr std::size_t kCachedSizes = 512;
    mutable std::map<std::tuple<std::string, std::string, double>, CPTSize> sizes_;
};

}  // namespace quorvel
