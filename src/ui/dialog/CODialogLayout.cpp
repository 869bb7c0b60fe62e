// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/CODialogLayout.hpp"

#include <cmath>

#include "platform/Assert.hpp"

namespace quorvel {

CODialogRect CODialogRect::integral() const
{
    const double left = std::floor(x);
    const double top = std::floor(y);
    return {left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top};
}

CODialogLayout::Size CODialogLayout::Result::dialogSize() const
{
    return {contentFrame.maxX() + kContentInset, contentFrame.maxY() + kContentInset};
}

CODialogLayout::Result CODialogLayout::layoutComponents(const Input& in)
{
    QV_REQUIRE(in.fieldCount >= 0 && in.buttonCount >= 0, "layoutComponents needs non-negative counts");
    const double left = kContentInset;
    const double w = innerWidth(in.dialogWidth);
    Result r;

    const double titleTop = kContentInset + (in.titleHeight > 0 ? kSpacing : 0);
    r.titleRect = {left, titleTop, w, in.titleHeight};
    const double subtitleTop = r.titleRect.maxY() + (in.subtitleHeight > 0 ? kSpacing : 0);
    r.subtitleRect = {left, subtitleTop, w, in.subtitleHeight};

    if (in.accessory) {
        // Whole points keep the accessory's pixels sharp.
        const double x = std::floor(left + (w - in.accessory->width) / 2);
        r.accessoryRect = {x, r.subtitleRect.maxY() + kSpacing, in.accessory->width, in.accessory->height};
    } else {
        r.accessoryRect = {left, r.subtitleRect.maxY(), 0, 0};
    }

    const int n = in.fieldCount;
    if (n > 0) {
        const double top = r.accessoryRect.maxY() + kSpacing;
        r.textFieldsRect = {left, top, w, kFieldHeight * n + kSpacing * (n - 1)};
        for (int i = 0; i < n; ++i) {
            r.fieldRects.push_back({left, top + (kFieldHeight + kSpacing) * i, w, kFieldHeight});
        }
    } else {
        r.textFieldsRect = {left, r.accessoryRect.maxY(), w, 0};
    }

    const int m = in.buttonCount;
    if (m > 0) {
        const double top = r.textFieldsRect.maxY() + kSpacing;
        r.buttonRect = {left, top, w, kButtonHeight};
        const double bw = (w - kSpacing * (m - 1)) / m;
        for (int i = 0; i < m; ++i) {
            r.buttonRects.push_back(CODialogRect{left + i * (bw + kSpacing), top, bw, kButtonHeight}.integral());
        }
    } else {
        r.buttonRect = {left, r.textFieldsRect.maxY(), w, 0};
    }

    r.contentFrame = {left, kContentInset, w, r.buttonRect.maxY() - kContentInset};
    return r;
}

CODialogRect CODialogLayout::defaultDialogFrame(double appWidth, double appHeight, bool version5more,
                                                bool padInterface)
{
    constexpr double kInset = 20;
    constexpr double kWideTabletInset = 180;
    constexpr double kWideTabletWidth = 700;
    constexpr double kInitialHeight = 180;
    const bool wideTablet = !version5more && padInterface && appWidth > kWideTabletWidth;
    CODialogRect frame = CODialogRect{0, 0, appWidth, appHeight}
                             .insetBy(wideTablet ? kWideTabletInset : kInset, kInset)
                             .integral();
    frame.height = kInitialHeight;
    return frame;
}

CODialogRect CODialogLayout::centredFrame(Size dialog, double hostWidth, double hostHeight)
{
    // Whole points, but the origin rounds down rather than the size growing by a point.
    const double width = std::ceil(dialog.width);
    const double height = std::ceil(dialog.height);
    return {std::floor((hostWidth - width) / 2), std::floor((hostHeight - height) / 2), width, height};
}

}  // namespace quorvel
