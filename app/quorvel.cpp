// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include <gtk/gtk.h>
#include <gtkmm/application.h>

#include "platform/Translation.hpp"
#include "shell/AppCommandLine.hpp"
#include "shell/FAppDelegate.hpp"

int main(int argc, char** argv)
{
    // The locale is set here, numbers kept in C; the toolkit must not set it again over that.
    quorvel::Translation::setUp();
    gtk_disable_setlocale();
    if (const auto answered = quorvel::AppCommandLine::answer({argv, argv + argc}, std::cout)) {
        return *answered;
    }
    auto app = Gtk::Application::create(quorvel::FAppDelegate::kApplicationId);
    quorvel::FAppDelegate delegate(app);
    return app->run(argc, argv);
}
