// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>

#include <gtkmm/progressbar.h>
#include <gtkmm/widget.h>

#include "ui/dialog/CODialogLayout.hpp"

namespace quorvel {

class CODialog;

// The accessory a dialog style asks for: a white activity indicator (1), a progress bar (2), the
// check mark (3) or cross (4) drawn by the dialog, or the custom view (5); none otherwise.
struct CODialogAccessory {
    static constexpr int kActivitySize = 37;
    static constexpr int kProgressWidth = 200;
    static constexpr int kProgressHeight = 88;

    Gtk::Widget* view = nullptr;  // a new managed widget, or the custom view itself
    Gtk::ProgressBar* progressBar = nullptr;
    std::optional<CODialogLayout::Size> size;

    static CODialogAccessory make(const CODialog& dialog, const std::shared_ptr<Gtk::Widget>& customView,
                                  double progress);
};

}  // namespace quorvel
