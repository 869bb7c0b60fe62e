// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>

#include <gtkmm/overlay.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include "ui/dialog/CODialogLayout.hpp"

namespace quorvel {

class CODialog;

// The dimmed layer a shown dialog sits on. It covers the whole content of the host window as a
// layer of a Gtk::Overlay placed around that content, so it looks and behaves the same under
// X11 and Wayland: pointer input anywhere outside the dialog goes nowhere, and the content
// below cannot take the keyboard focus while any dialog layer is up. The dialog is centred in
// it (or at the top the keyboard adjustment chose) and scaled with the layer's presentation.
// When the last layer goes, the focus returns to where it was.
class CODialogWindowOverlay : public Gtk::Widget {
public:
    explicit CODialogWindowOverlay(CODialog& dialog);
    ~CODialogWindowOverlay() override;
    CODialogWindowOverlay(const CODialogWindowOverlay&) = delete;
    CODialogWindowOverlay& operator=(const CODialogWindowOverlay&) = delete;

    // The Gtk::Overlay holding the window's content, put around it on first use. The shell may
    // call this once while it builds the window, so no content is moved while the user works.
    static Gtk::Overlay& prepareHost(Gtk::Window& window);
    // A destroyed window leaves the list of toplevels although a dialog may still hold it.
    static bool isOpenWindow(GtkWindow* window);

    // Puts this layer (with the dialog in it) over the window's content, or takes it away.
    void attach(Gtk::Window& window);
    void detach();
    bool attached() const { return host_ != nullptr; }

    // 0: transparent with the dialog at half size; 1: fully shown.
    void setPresentation(double presentation);
    double presentation() const { return presentation_; }
    // A fixed top for the dialog (keyboard adjustment); none centres it.
    void setDialogTop(std::optional<double> top);
    // The dialog's frame in this layer at the last allocation (unscaled).
    const CODialogRect& dialogFrame() const { return dialogFrame_; }

protected:
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    static bool isLayer(GtkWidget* widget);
    // Returns whether the content is free again (no other dialog layer is up).
    bool blockContent(bool block);
    void restoreFocus();

    CODialog& dialog_;
    Gtk::Overlay* host_ = nullptr;
    double presentation_ = 1;
    std::optional<double> top_;
    CODialogRect dialogFrame_;
    GWeakRef previousFocus_;  // where the keyboard was before the dialog came
};

}  // namespace quorvel
