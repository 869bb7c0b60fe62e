// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialogAccessory.hpp"

#include <gtkmm/box.h>
#include <gtkmm/drawingarea.h>
#include <gtkmm/spinner.h>

#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/dialog/gtk/CODialogPainter.hpp"

namespace quorvel {

CODialogAccessory CODialogAccessory::make(const CODialog& dialog, const std::shared_ptr<Gtk::Widget>& customView,
                                          double progress)
{
    CODialogAccessory made;
    switch (dialog.dialogStyle()) {
    case CODialog::kActivity: {
        auto* spinner = Gtk::make_managed<Gtk::Spinner>();
        spinner->add_css_class("qv-dialog-accessory");  // white, as on the dark panel
        spinner->start();
        made.view = spinner;
        made.size = CODialogLayout::Size{kActivitySize, kActivitySize};
        break;
    }
    case CODialog::kProgress: {
        auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL);
        made.progressBar = Gtk::make_managed<Gtk::ProgressBar>();
        made.progressBar->set_valign(Gtk::Align::CENTER);
        made.progressBar->set_vexpand(true);
        made.progressBar->set_fraction(progress);
        box->append(*made.progressBar);
        made.view = box;
        made.size = CODialogLayout::Size{kProgressWidth, kProgressHeight};
        break;
    }
    case CODialog::kCheckMark:
    case CODialog::kCross: {
        auto* symbol = Gtk::make_managed<Gtk::DrawingArea>();
        // The area lives in the dialog's content box, so the dialog outlives it.
        symbol->set_draw_func([&dialog](const Cairo::RefPtr<Cairo::Context>& cr, int w, int h) {
            dialog.drawSymbolInRect(cr, {0, 0, static_cast<double>(w), static_cast<double>(h)});
        });
        made.view = symbol;
        made.size = CODialogLayout::Size{CODialogPainter::kSymbolSize, CODialogPainter::kSymbolSize};
        break;
    }
    case CODialog::kCustom:
        if (customView) {
            int minW = 0, natW = 0, minH = 0, natH = 0, b1 = 0, b2 = 0;
            customView->measure(Gtk::Orientation::HORIZONTAL, -1, minW, natW, b1, b2);
            customView->measure(Gtk::Orientation::VERTICAL, natW, minH, natH, b1, b2);
            made.view = customView.get();
            made.size = CODialogLayout::Size{static_cast<double>(natW), static_cast<double>(natH)};
        }
        break;
    default:
        break;
    }
    return made;
}

}  // namespace quorvel
