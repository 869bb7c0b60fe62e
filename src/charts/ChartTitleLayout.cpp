// SPDX-License-Identifier: GPL-3.0-or-later
#include "charts/ChartTitleLayout.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

namespace quorvel {

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

// The parts of a line between ", ": a title breaks there first, so that "1.2 GB" stays whole.
std::vector<std::string> phrases(const std::string& line)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at = line.find(", "); at != std::string::npos; at = line.find(", ", from)) {
        parts.push_back(line.substr(from, at + 1 - from));
        from = at + 2;
    }
    parts.push_back(line.substr(from));
    return parts;
}

std::string wrapLine(const std::string& line, double maxWidth, const std::function<double(const std::string&)>& widthOf)
{
    std::string out;
    std::string current;
    const auto fits = [&](const std::string& text) { return widthOf(text) <= maxWidth; };
    const auto joined = [&](const std::string& text) { return current.empty() ? text : current + " " + text; };
    for (const std::string& phrase : phrases(line)) {
        if (fits(joined(phrase))) {
            current = joined(phrase);
            continue;
        }
        if (!current.empty()) {
            out += current + "\n";
            current.clear();
        }
        for (const std::string& word : split(phrase, ' ')) {
            if (current.empty() || fits(joined(word))) {
                current = joined(word);
            } else {
                out += current + "\n";
                current = word;
            }
        }
    }
    return out + current;
}

}  // namespace

ChartTitleLayout ChartTitleLayout::place(const Measured& m)
{
    ChartTitleLayout layout;
    layout.yTitleOffset = std::max(kMinYTitleOffset, std::ceil(m.labelOffset + m.widestLabel + kGap));
    if (m.graphWidth > 0 && m.axisFraction < 1) {
        // The axis lies at paddingLeft + f * (width - paddingLeft - paddingRight); the title needs
        // its offset and its thickness left of it, and one point from the graph's edge.
        const double room = layout.yTitleOffset + m.yTitleHeight + 1;
        const double f = m.axisFraction;
        const double needed = (room - f * (m.graphWidth - m.paddingRight)) / (1 - f);
        layout.paddingLeft = std::max(kMinPaddingLeft, std::ceil(needed));
    }
    // The title stays on the graph and its lowest line above the plot area, clear of a label that
    // sits on the top edge of the range and reaches half its height above it.
    layout.titleDrop = std::max(m.titleDrop, std::ceil(m.titleHeight / 2));
    layout.paddingTop =
        std::max(kMinPaddingTop, std::ceil(layout.titleDrop + m.titleHeight / 2 + m.labelHeight / 2 + kGap));
    return layout;
}

std::string ChartTitleLayout::wrap(const std::string& text, double maxWidth,
                                   const std::function<double(const std::string&)>& widthOf)
{
    std::string out;
    const std::vector<std::string> lines = split(text, '\n');
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += (i == 0 ? "" : "\n") + wrapLine(lines[i], maxWidth, widthOf);
    }
    return out;
}

}  // namespace quorvel
