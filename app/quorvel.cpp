// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtkmm/application.h>

#include "shell/FAppDelegate.hpp"

int main(int argc, char** argv)
{
    auto app = Gtk::Application::create(quorvel::FAppDelegate::kApplicationId);
    quorvel::FAppDelegate delegate(app);
    return app->run(argc, argv);
}
