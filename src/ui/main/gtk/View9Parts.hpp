// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>

#include <gtkmm/box.h>

#include "ui/main/gtk/UIImageAdditions.hpp"

namespace quorvel {

// A box whose background is a frame tiled from nine pictures (four corners, four edges and the
// centre); its children sit on top. The nine pictures are shared by every panel.
class View9Parts : public Gtk::Box {
public:
    static constexpr std::array<const char*, 9> kPieceNames = {"pimtl", "pimt",  "pimtr", "pimml", "pimm",
                                                               "pimmr", "pimbl", "pimb",  "pimbr"};

    explicit View9Parts(Gtk::Orientation orientation = Gtk::Orientation::VERTICAL, int spacing = 0);

    // The pictures this panel paints. The shared list stops before the first picture that could
    // not be loaded, so a panel with a missing piece paints no frame at all.
    virtual const UIImageAdditions::Images& getPanelImages() const;

protected:
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;
};

}  // namespace quorvel
