// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

#include <gtkmm/applicationwindow.h>

#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

// The application window, which decides the form the screens take: the phone form below 768
// logical pixels of width, the larger form from there on (QUORVEL_IDIOM may force one). When a
// resize crosses that width the form changes in an idle callback, never inside the layout pass
// that noticed it.
class FFormWindow final : public Gtk::ApplicationWindow {
public:
    explicit FFormWindow(UIDeviceVersion::Idiom form);
    ~FFormWindow() override;
    FFormWindow(const FFormWindow&) = delete;
    FFormWindow& operator=(const FFormWindow&) = delete;

    UIDeviceVersion::Idiom form() const { return form_; }
    // Called after the form changed, from the idle callback.
    std::function<void(UIDeviceVersion::Idiom form)> onFormChanged;

protected:
    void size_allocate_vfunc(int width, int height, int baseline) override;

private:
    void applyForm(UIDeviceVersion::Idiom form);

    UIDeviceVersion::Idiom form_;
    sigc::connection pendingForm_;
};

}  // namespace quorvel
