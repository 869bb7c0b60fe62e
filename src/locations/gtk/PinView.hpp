// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include <gtkmm/drawingarea.h>

namespace quorvel {

// A pin picture at its size in points, painted from the two-pixels-per-point picture so it stays
// sharp on HiDPI screens; a drawn pin of the same colour stands in when the picture is missing.
class PinView final : public Gtk::DrawingArea {
public:
    PinView();
    void setPicture(const std::string& name);
    const std::string& pictureName() const { return name_; }
    double pinHeight() const { return height_; }

    static constexpr double kFallbackWidth = 22.0;
    static constexpr double kFallbackHeight = 34.0;

private:
    void draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height) const;
    void drawFallback(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) const;

    std::string name_;
    double height_ = kFallbackHeight;
};

}  // namespace quorvel
