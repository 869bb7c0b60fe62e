// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorvel {

// An RGBA colour in the engine's device RGB space, components in 0 .. 1.
class CPTColor {
public:
    CPTColor() = default;  // opaque black
    static CPTColor colorWithComponentRed(double red, double green, double blue, double alpha)
    {
        return CPTColor(red, green, blue, alpha);
    }
    static CPTColor colorWithGenericGray(double gray) { return CPTColor(gray, gray, gray, 1.0); }
    static CPTColor blackColor() { return colorWithGenericGray(0.0); }
    static CPTColor darkGrayColor() { return colorWithGenericGray(1.0 / 3.0); }
    static CPTColor grayColor() { return colorWithGenericGray(0.5); }
    static CPTColor lightGrayColor() { return colorWithGenericGray(2.0 / 3.0); }
    static CPTColor whiteColor() { return colorWithGenericGray(1.0); }
    static CPTColor redColor() { return CPTColor(1.0, 0.0, 0.0, 1.0); }
    static CPTColor clearColor() { return CPTColor(0.0, 0.0, 0.0, 0.0); }

    CPTColor colorWithAlphaComponent(double alpha) const { return CPTColor(red_, green_, blue_, alpha); }

    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }

    bool operator==(const CPTColor&) const = default;

private:
    CPTColor(double r, double g, double b, double a) : red_(r), green_(g), blue_(b), alpha_(a) {}

    double red_ = 0.0;
    double green_ = 0.0;
    double blue_ = 0.0;
    double alpha_ = 1.0;
};

}  // namespace quorvel
