// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <vector>

namespace quorvel {

// A rectangle in points, y growing downwards.
struct CODialogRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double maxX() const { return x + width; }
    double maxY() const { return y + height; }
    // Smallest rectangle on whole points that contains this one.
    CODialogRect integral() const;
    CODialogRect insetBy(double dx, double dy) const { return {x + dx, y + dy, width - 2 * dx, height - 2 * dy}; }
    bool operator==(const CODialogRect&) const = default;
};

// Where the dialog's parts go. Pure: the caller measures the texts, this only does arithmetic,
// so every rule can be checked without a window.
class CODialogLayout {
public:
    static constexpr double kContentInset = 16;  // dialog edge to title, fields and buttons
    static constexpr double kSpacing = 8;
    static constexpr double kFieldHeight = 29;
    static constexpr double kButtonHeight = 44;

    struct Size {
        double width = 0;
        double height = 0;
    };
    struct Input {
        double dialogWidth = 0;     // the width the dialog has before the pass
        double titleHeight = 0;     // measured at the inner width; 0 means no title
        double subtitleHeight = 0;  // likewise
        std::optional<Size> accessory;
        int fieldCount = 0;
        int buttonCount = 0;
    };
    // Everything in the dialog's own coordinates.
    struct Result {
        CODialogRect titleRect, subtitleRect, accessoryRect, textFieldsRect, buttonRect;
        std::vector<CODialogRect> fieldRects;
        std::vector<CODialogRect> buttonRects;
        CODialogRect contentFrame;  // the box holding accessory, fields and buttons
        // The dialog's size: the content frame grown by the inset on every side.
        Size dialogSize() const;
    };

    static double innerWidth(double dialogWidth) { return dialogWidth - 2 * kContentInset; }
    static Result layoutComponents(const Input& input);

    // The frame a new dialog gets from the application frame it opens in.
    static CODialogRect defaultDialogFrame(double appWidth, double appHeight, bool version5more, bool padInterface);
    // The dialog of that size centred in the host's bounds, on whole points.
    static CODialogRect centredFrame(Size dialog, double hostWidth, double hostHeight);
    // Top of a dialog centred in the part of the screen the keyboard leaves free.
    static double keyboardAdjustedTop(double screenHeight, double keyboardHeight, double dialogHeight)
    {
        return (screenHeight - keyboardHeight - dialogHeight) / 2;
    }
};

}  // namespace quorvel
