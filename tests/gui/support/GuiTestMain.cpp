// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every GUI test program: a temporary home for all files, the resource bundle and
// libadwaita set up, GTK initialised on the display the test runner provides.
#include <gtest/gtest.h>

#include <adwaita.h>
#include <gtkmm/init.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ui/gtk/ImageStore.hpp"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-gui-XXXXXX").string();
    const std::filesystem::path home = ::mkdtemp(pattern.data());
    for (const char* sub : {"data", "config", "state", "cache"}) {
        std::filesystem::create_directories(home / sub);
    }
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home / "cache").c_str(), 1);
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    gtk_init();
    Gtk::init_gtkmm_internals();  // wrapped widgets and textures need gtkmm's type registrations
    adw_init();
    quorvel::ImageStore::registerResources();
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return result;
}
