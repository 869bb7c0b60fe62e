// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>

#include <gtkmm/window.h>

namespace quorvel {

class UserDefaults;

// The window opens at the size and maximised state it was closed in, kept in the user defaults.
class FWindowSizeMemory {
public:
    FWindowSizeMemory(Gtk::Window& window, UserDefaults& defaults);

    // The width the window will open at, when one is stored: the form follows it.
    static std::optional<int> storedWidth(const UserDefaults& defaults);
    // Sets the window's default size from the defaults, or the given size the first time.
    void restore(int width, int height);
    // Keeps the window's present size and state (also done when it is closed).
    void save();

    // Sizes below the smallest form or beyond any screen are not taken back.
    static constexpr int kMinimum = 300;
    static constexpr int kMaximum = 16384;

private:
    Gtk::Window& window_;
    UserDefaults& defaults_;
};

}  // namespace quorvel
