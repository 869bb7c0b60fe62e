#pragma once

#include "plot/CPTSize.hpp"

#include <memory>
#include <string>

namespace quorvel {

// Measures text for layout. The process holds one shared instance (font metrics are a
// platform service); it starts as the deterministic CPTFixedTextMetrics and the Cairo back end
// replaces it with Pango's. The generation counter lets laid-out text notice a replacement.
class CPTTextMetrics {
public:
    virtual ~CPTTextMetrics() = default;
    // Size of `text` in the font, without wrapping; each '\n' starts a new line.
    virtual CPTSize sizeOfText(const std::string& text, const std::string& fontName, double fontSize) const = 0;

    static const CPTTextMetrics& shared();
    static void setShared(std::shared_ptr<const CPTTextMetrics> metrics);
    static unsigned generation();
};

}  // namespace quorvel
