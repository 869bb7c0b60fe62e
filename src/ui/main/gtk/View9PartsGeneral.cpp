// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/gtk/View9PartsGeneral.hpp"

namespace quorvel {

void View9PartsGeneral::setImages(const UIImageAdditions::Images& images)
{
    pImgs.clear();
    if (images.size() != 9) {
        return;
    }
    pImgs = images;
    queue_draw();
}

}  // namespace quorvel
