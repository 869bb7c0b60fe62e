// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "ui/main/gtk/View9Parts.hpp"

namespace quorvel {

// A framed panel with its own nine pictures instead of the shared ones.
class View9PartsGeneral : public View9Parts {
public:
    using View9Parts::View9Parts;

    const UIImageAdditions::Images& getPanelImages() const override { return pImgs; }
    // Takes exactly nine pictures (in the nine-piece order) and repaints; any other count leaves
    // the panel without pictures, so it paints no frame from its next repaint on.
    void setImages(const UIImageAdditions::Images& images);

private:
    UIImageAdditions::Images pImgs;
};

}  // namespace quorvel
