// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/gtk/UIImageAdditions.hpp"

#include "platform/Assert.hpp"

namespace quorvel {

namespace {

struct Size {
    double w = 0;
    double h = 0;
};

Size sizeOf(const ImageStore::Image* image)
{
    return image == nullptr ? Size{} : Size{image->width, image->height};
}

// One piece: the picture repeated from the piece's corner, so its pixels line up with the
// corners whatever the panel's size.
void tilePiece(const Cairo::RefPtr<Cairo::Context>& cr, const ImageStore::Image* image, const ViewRect& piece)
{
    if (image == nullptr || !image->surface || !(piece.width > 0) || !(piece.height > 0)) {
        return;
    }
    auto pattern = Cairo::SurfacePattern::create(image->surface);
    pattern->set_extend(Cairo::Pattern::Extend::REPEAT);
    pattern->set_matrix(Cairo::translation_matrix(-piece.x, -piece.y));
    cr->set_source(pattern);
    cr->rectangle(piece.x, piece.y, piece.width, piece.height);
    cr->fill();
}

}  // namespace

const ImageStore::Image* UIImageAdditions::LoadPNGImage(const std::string& name)
{
    return ImageStore::image(name);
}

std::array<ViewRect, 9> UIImageAdditions::ninePartRects(const Images& images, const ViewRect& r)
{
    QV_REQUIRE(images.size() >= 9, "ninePartRects needs the nine pieces' pictures");
    std::array<Size, 9> s;
    for (std::size_t i = 0; i < 9; ++i) {
        s[i] = sizeOf(images[i]);
    }
    const double x = r.x, y = r.y, w = r.width, h = r.height;
    return {{
        {x, y, s[0].w, s[0].h},
        {x + s[0].w, y, w - s[0].w - s[2].w, s[1].h},
        {x + w - s[2].w, y, s[2].w, s[2].h},
        {x, y + s[0].h, s[3].w, h - s[0].h - s[6].h},
        {x + s[3].w, y + s[0].h, w - s[0].w - s[2].w, h - s[1].h - s[7].h},
        {x + w - s[5].w, y + s[0].h, s[5].w, h - s[2].h - s[8].h},
        {x, y + h - s[6].h, s[6].w, s[6].h},
        {x + s[6].w, y + h - s[7].h, w - s[6].w - s[8].w, s[7].h},
        {x + w - s[8].w, y + h - s[8].h, s[8].w, s[8].h},
    }};
}

void UIImageAdditions::drawNinePartImage(const Cairo::RefPtr<Cairo::Context>& cr, const Images& images,
                                         const ViewRect& rect)
{
    if (images.size() < 9) {
        return;
    }
    const auto pieces = ninePartRects(images, rect);
    cr->save();
    for (std::size_t i = 0; i < 9; ++i) {
        tilePiece(cr, images[i], pieces[i]);
    }
    cr->restore();
}

void UIImageAdditions::drawImageInRect(const Cairo::RefPtr<Cairo::Context>& cr, const ImageStore::Image* image,
                                       const ViewRect& rect)
{
    if (image == nullptr || !image->surface || !(image->width > 0) || !(image->height > 0) || !(rect.width > 0) ||
        !(rect.height > 0)) {
        return;
    }
    cr->save();
    cr->rectangle(rect.x, rect.y, rect.width, rect.height);
    cr->clip();
    cr->translate(rect.x, rect.y);
    cr->scale(rect.width / image->width, rect.height / image->height);
    auto pattern = Cairo::SurfacePattern::create(image->surface);
    // Pad, not none: a stretched edge keeps its colour instead of fading into transparency.
    pattern->set_extend(Cairo::Pattern::Extend::PAD);
    pattern->set_filter(Cairo::SurfacePattern::Filter::GOOD);
    cr->set_source(pattern);
    cr->paint();
    cr->restore();
}

}  // namespace quorvel
