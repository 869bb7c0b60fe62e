// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FFormWindow.hpp"

#include <glibmm/main.h>

namespace quorvel {

namespace {

const char* formClass(UIDeviceVersion::Idiom form)
{
    return form == UIDeviceVersion::Idiom::Tablet ? "quorvel-tablet" : "quorvel-phone";
}

}  // namespace

FFormWindow::FFormWindow(UIDeviceVersion::Idiom form) : form_(form)
{
    add_css_class(formClass(form_));
}

FFormWindow::~FFormWindow()
{
    pendingForm_.disconnect();
}

void FFormWindow::size_allocate_vfunc(int width, int height, int baseline)
{
    Gtk::ApplicationWindow::size_allocate_vfunc(width, height, baseline);
    const UIDeviceVersion::Idiom wanted = UIDeviceVersion::idiomForWindowWidth(width);
    if (wanted == form_) {
        pendingForm_.disconnect();  // resized back before the change ran
        return;
    }
    if (!pendingForm_.connected()) {
        // Rebuilding the screens inside this allocation would lay out a tree being torn down.
        pendingForm_ = Glib::signal_idle().connect([this] {
            if (UIDeviceVersion::idiomForWindowWidth(get_width()) != form_) {
                applyForm(UIDeviceVersion::idiomForWindowWidth(get_width()));
            }
            return false;
        });
    }
}

void FFormWindow::applyForm(UIDeviceVersion::Idiom form)
{
    remove_css_class(formClass(form_));
    form_ = form;
    add_css_class(formClass(form_));
    UIDeviceVersion::setIdiom(form_);
    if (onFormChanged) {
        onFormChanged(form_);
    }
}

}  // namespace quorvel
