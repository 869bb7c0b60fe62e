// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/listboxrow.h>
#include <gtkmm/switch.h>

namespace quorvel {

// One row of the settings and reset lists: an optional icon, the title, an accessory, over the
// row picture that suits its place in the group (rounded at the group's ends). The picture is
// drawn stretched in its middle only, so its corners keep their shape at any width.
class FPrefTableRow final : public Gtk::ListBoxRow {
public:
    enum class Accessory { None, Arrow, Disclosure, Switch };

    FPrefTableRow(const std::string& text, const std::string& icon, Accessory accessory, bool tablet);

    // The title, which is also what a screen reader says for the row and its switch.
    void setText(const std::string& text);
    std::string text() const { return label_.get_text(); }
    // A second, smaller line under the title; none when empty.
    void setSubtitle(const std::string& text);
    // A title too long for a phone's row goes on over lines instead of being cut.
    void wrapTitle();
    std::string subtitle() const { return subtitle_.get_text(); }
    void setBackgroundName(const std::string& name);
    const std::string& backgroundName() const { return background_; }
    // Keeps the title's start in line with titles of rows that have an icon.
    void reserveIconSpace();
    // The switch of a switch row; null for the others.
    Gtk::Switch* toggle() { return toggle_.get(); }
    bool hasIcon() const { return hasIcon_; }

    // The corner size kept unstretched, in points.
    static constexpr double kCap = 12;
    static constexpr int kIconSize = 28;
    static constexpr int kInset = 12;  // row edge to icon or title, and to the accessory

protected:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    void paintBackground(const Cairo::RefPtr<Cairo::Context>& cr, double width, double height) const;

    // Children before their box, so that the box goes first.
    Gtk::Image icon_;
    Gtk::Label label_;
    Gtk::Label subtitle_;
    Gtk::Box texts_{Gtk::Orientation::VERTICAL, 2};
    Gtk::Image arrow_;
    std::unique_ptr<Gtk::Switch> toggle_;
    Gtk::Box box_{Gtk::Orientation::HORIZONTAL, 10};
    std::string background_;
    bool hasIcon_ = false;
};

}  // namespace quorvel
