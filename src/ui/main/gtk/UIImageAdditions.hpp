// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <string>
#include <vector>

#include <cairomm/context.h>

#include "ui/gtk/ImageStore.hpp"
#include "ui/ViewRect.hpp"

namespace quorvel {

// The picture operations the framed panels and the gauge draw with.
class UIImageAdditions {
public:
    using Images = std::vector<const ImageStore::Image*>;

    // The named PNG picture of the bundle ("pimtl" or "pimtl.png"); null when there is none.
    static const ImageStore::Image* LoadPNGImage(const std::string& name);

    // Where the nine pieces of a framed background go in `rect`: corners at their own size, edges
    // and centre stretched between them. Needs at least nine entries; a null one measures 0 × 0.
    static std::array<ViewRect, 9> ninePartRects(const Images& images, const ViewRect& rect);
    // Tiles each of nine pictures over its piece, the tiling anchored at the piece's top-left
    // corner. Paints nothing at all with fewer than nine pictures.
    static void drawNinePartImage(const Cairo::RefPtr<Cairo::Context>& cr, const Images& images,
                                  const ViewRect& rect);
    // Paints a picture scaled to fill `rect`; nothing for a missing picture or an empty rect.
    static void drawImageInRect(const Cairo::RefPtr<Cairo::Context>& cr, const ImageStore::Image* image,
                                const ViewRect& rect);
};

}  // namespace quorvel
