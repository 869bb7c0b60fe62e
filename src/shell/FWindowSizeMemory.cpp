// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FWindowSizeMemory.hpp"

#include "model/DefaultsKeys.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

namespace {

std::optional<int> storedSize(const UserDefaults& defaults, const char* key)
{
    const auto value = defaults.unsigned64ForKey(key);
    if (!value || *value < FWindowSizeMemory::kMinimum || *value > FWindowSizeMemory::kMaximum) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

}  // namespace

FWindowSizeMemory::FWindowSizeMemory(Gtk::Window& window, UserDefaults& defaults) : window_(window), defaults_(defaults)
{
    window_.signal_close_request().connect(
        [this] {
            save();
            return false;
        },
        false);
    // Quitting closes no window; the window goes from the screen all the same.
    window_.signal_unrealize().connect([this] { save(); }, false);
}

std::optional<int> FWindowSizeMemory::storedWidth(const UserDefaults& defaults)
{
    return storedSize(defaults, DefaultsKeys::kWindowHeight) ? storedSize(defaults, DefaultsKeys::kWindowWidth)
                                                              : std::nullopt;
}

void FWindowSizeMemory::restore(int width, int height)
{
    const auto w = storedSize(defaults_, DefaultsKeys::kWindowWidth);
    const auto h = storedSize(defaults_, DefaultsKeys::kWindowHeight);
    window_.set_default_size(w && h ? *w : width, w && h ? *h : height);
    if (defaults_.boolForKey(DefaultsKeys::kWindowMaximized).value_or(false)) {
        window_.maximize();
    }
}

void FWindowSizeMemory::save()
{
    // The size kept is the one the window returns to when it is no longer maximised.
    int width = 0;
    int height = 0;
    window_.get_default_size(width, height);
    if (!window_.is_maximized() && window_.get_width() > 0) {
        width = window_.get_width();
        height = window_.get_height();
    }
    if (width >= kMinimum && height >= kMinimum) {
        defaults_.setObject(DefaultsKeys::kWindowWidth, width);
        defaults_.setObject(DefaultsKeys::kWindowHeight, height);
    }
    defaults_.setObject(DefaultsKeys::kWindowMaximized, window_.is_maximized());
    defaults_.synchronize();
}

}  // namespace quorvel
