// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog's layout rules as plain arithmetic: default frame, the parts' rectangles, the
// frame grown around the content and centred, and the keyboard adjustment.
#include <gtest/gtest.h>

#include "ui/dialog/CODialogLayout.hpp"

namespace quorvel {
namespace {

using Rect = CODialogRect;

struct FrameCase {
    const char* name;
    double appWidth;
    bool version5more;
    bool pad;
    Rect expected;
};

TEST(CODialogLayoutTest, DefaultFrameInsetsByDeviceAndSystem)
{
    const FrameCase cases[] = {
        {"phone 320", 320, false, false, {20, 20, 280, 180}},
        {"phone 360", 360, false, false, {20, 20, 320, 180}},
        {"wide phone is never inset more", 1024, false, false, {20, 20, 984, 180}},
        {"tablet 768, older system", 768, false, true, {180, 20, 408, 180}},
        {"tablet 1024, older system", 1024, false, true, {180, 20, 664, 180}},
        {"tablet exactly 700", 700, false, true, {20, 20, 660, 180}},
        {"tablet 701", 701, false, true, {180, 20, 341, 180}},
        {"tablet, newer system", 768, true, true, {20, 20, 728, 180}},
        {"fractional width made whole", 320.5, false, false, {20, 20, 281, 180}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CODialogLayout::defaultDialogFrame(c.appWidth, 480, c.version5more, c.pad), c.expected) << c.name;
    }
}

TEST(CODialogLayoutTest, PromptOnA320PointScreen)
{
    CODialogLayout::Input in;
    in.dialogWidth = 280;
    in.titleHeight = 22;
    in.subtitleHeight = 17;
    in.fieldCount = 1;
    in.buttonCount = 2;
    const auto r = CODialogLayout::layoutComponents(in);

    EXPECT_EQ(r.titleRect, (Rect{16, 24, 248, 22}));
    EXPECT_EQ(r.subtitleRect, (Rect{16, 54, 248, 17}));
    EXPECT_EQ(r.accessoryRect, (Rect{16, 71, 0, 0}));
    EXPECT_EQ(r.textFieldsRect, (Rect{16, 79, 248, 29}));
    ASSERT_EQ(r.fieldRects.size(), 1u);
    EXPECT_EQ(r.fieldRects[0], (Rect{16, 79, 248, 29}));
    EXPECT_EQ(r.buttonRect, (Rect{16, 116, 248, 44}));
    ASSERT_EQ(r.buttonRects.size(), 2u);
    // (248 - 8) / 2 = 120 points each, 8 apart.
    EXPECT_EQ(r.buttonRects[0], (Rect{16, 116, 120, 44}));
    EXPECT_EQ(r.buttonRects[1], (Rect{144, 116, 120, 44}));
    EXPECT_EQ(r.contentFrame, (Rect{16, 16, 248, 144}));
    EXPECT_EQ(r.dialogSize().width, 280);
    EXPECT_EQ(r.dialogSize().height, 176);
}

TEST(CODialogLayoutTest, EmptyPartsTakeNoSpacing)
{
    CODialogLayout::Input in;
    in.dialogWidth = 280;
    in.buttonCount = 1;
    const auto r = CODialogLayout::layoutComponents(in);
    EXPECT_EQ(r.titleRect, (Rect{16, 16, 248, 0}));
    EXPECT_EQ(r.subtitleRect, (Rect{16, 16, 248, 0}));
    EXPECT_EQ(r.accessoryRect, (Rect{16, 16, 0, 0}));
    EXPECT_EQ(r.textFieldsRect, (Rect{16, 16, 248, 0}));
    EXPECT_TRUE(r.fieldRects.empty());
    EXPECT_EQ(r.buttonRects.at(0), (Rect{16, 24, 248, 44}));
    EXPECT_EQ(r.dialogSize().height, 84);

    in.buttonCount = 0;
    const auto bare = CODialogLayout::layoutComponents(in);
    EXPECT_TRUE(bare.buttonRects.empty());
    EXPECT_EQ(bare.buttonRect, (Rect{16, 16, 248, 0}));
    EXPECT_EQ(bare.dialogSize().height, 32);
}

struct AccessoryCase {
    const char* name;
    CODialogLayout::Size size;
    Rect expected;
};

TEST(CODialogLayoutTest, AccessoryIsCentredOnWholePointsUnderTheSubtitle)
{
    const AccessoryCase cases[] = {
        {"symbol", {64, 64}, {108, 79, 64, 64}},
        {"activity indicator, odd width", {37, 37}, {121, 79, 37, 37}},
        {"progress bar", {200, 88}, {40, 79, 200, 88}},
        {"wider than the dialog", {300, 10}, {-10, 79, 300, 10}},
    };
    for (const auto& c : cases) {
        CODialogLayout::Input in;
        in.dialogWidth = 280;
        in.titleHeight = 22;
        in.subtitleHeight = 17;
        in.accessory = c.size;
        in.fieldCount = 1;
        const auto r = CODialogLayout::layoutComponents(in);
        EXPECT_EQ(r.accessoryRect, c.expected) << c.name;
        EXPECT_EQ(r.fieldRects.at(0).y, c.expected.maxY() + 8) << c.name;
    }
}

TEST(CODialogLayoutTest, SeveralFieldsAndButtons)
{
    CODialogLayout::Input in;
    in.dialogWidth = 280;
    in.titleHeight = 22;
    in.fieldCount = 3;
    in.buttonCount = 3;
    const auto r = CODialogLayout::layoutComponents(in);
    ASSERT_EQ(r.fieldRects.size(), 3u);
    EXPECT_EQ(r.fieldRects[0], (Rect{16, 54, 248, 29}));
    EXPECT_EQ(r.fieldRects[1], (Rect{16, 91, 248, 29}));
    EXPECT_EQ(r.fieldRects[2], (Rect{16, 128, 248, 29}));
    EXPECT_EQ(r.textFieldsRect, (Rect{16, 54, 248, 103}));
    // (248 - 16) / 3 is not whole: each rectangle is widened to whole points.
    ASSERT_EQ(r.buttonRects.size(), 3u);
    EXPECT_EQ(r.buttonRects[0], (Rect{16, 165, 78, 44}));
    EXPECT_EQ(r.buttonRects[1], (Rect{101, 165, 78, 44}));
    EXPECT_EQ(r.buttonRects[2], (Rect{186, 165, 78, 44}));
}

struct CentreCase {
    const char* name;
    CODialogLayout::Size dialog;
    double hostWidth, hostHeight;
    Rect expected;
};

TEST(CODialogLayoutTest, FrameIsCentredOnWholePoints)
{
    const CentreCase cases[] = {
        {"even margins", {280, 176}, 320, 480, {20, 152, 280, 176}},
        {"odd margin rounds the origin down", {280, 176}, 361, 721, {40, 272, 280, 176}},
        {"fractional height grows to whole points", {280, 175.4}, 320, 480, {20, 152, 280, 176}},
        {"taller than the host", {280, 600}, 320, 480, {20, -60, 280, 600}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CODialogLayout::centredFrame(c.dialog, c.hostWidth, c.hostHeight), c.expected) << c.name;
    }
}

TEST(CODialogLayoutTest, KeyboardLeavesTheDialogCentredAboveIt)
{
    EXPECT_EQ(CODialogLayout::keyboardAdjustedTop(480, 0, 176), 152);
    EXPECT_EQ(CODialogLayout::keyboardAdjustedTop(480, 216, 176), 44);
    EXPECT_EQ(CODialogLayout::keyboardAdjustedTop(480, 400, 176), -48);
}

TEST(CODialogLayoutTest, IntegralCoversTheRectangle)
{
    EXPECT_EQ((Rect{0.5, 1.2, 10, 10}.integral()), (Rect{0, 1, 11, 11}));
    EXPECT_EQ((Rect{-0.5, 0, 1, 1}.integral()), (Rect{-1, 0, 2, 1}));
    EXPECT_EQ((Rect{3, 4, 5, 6}.integral()), (Rect{3, 4, 5, 6}));
}

}  // namespace
}  // namespace quorvel
