// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iosfwd>
#include <memory>
#include <string>

#include "cli/CtlChartCommand.hpp"
#include "model/SharedSummary.hpp"
#include "plot/cairo/CPTCairoRenderer.hpp"

namespace quorvel {

// `quorvelctl chart`: the chart page of one billing month, drawn as the chart tab draws it, to a
// PNG, SVG or PDF file.
class CtlChart : public CtlChartCommand {
public:
    // Checks the options; false (after one line on `err`) when a value is refused.
    bool parse(const CtlArguments& a, std::ostream& err) override;
    // Draws the page for the summary (none before the set-up: the empty page). Returns the exit code.
    int render(const SharedSummary& summary, std::ostream& out,
               std::ostream& err) const override;

    // The largest PNG drawn: 40 million pixels (160 MB of image), and Cairo's 32767 on a side.
    static constexpr double kMaxPixels = 40e6;
    static constexpr double kMaxSide = 32767;

private:
    // Text is measured for the image it is drawn into.
    void prepareTextScale() const;
    int renderYear(const SharedSummary& summary, std::ostream& out, std::ostream& err) const;
    int write(const std::vector<CPTCairoRenderer::PlacedHost>& hosts, std::ostream& out, std::ostream& err) const;
    std::optional<long> month_;  // absent: the current month
    bool year_ = false;          // the year page instead of a month's
    bool cumulative_ = true;
    bool daily_ = true;
    double width_ = 360;
    double height_ = 560;
    double scale_ = 2;
    bool tablet_ = false;
    std::string output_;
};

}  // namespace quorvel
