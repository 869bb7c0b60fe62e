// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <adwaita.h>

#include <functional>

#include <gtkmm/widget.h>

#include "platform/glib/GObjectHandle.hpp"

namespace quorvel {

// One 0.15-second value animation on a widget's frame clock, as the dialog's transitions use
// it. Starting another replaces the running one without finishing it. Destroying the object
// stops the animation without calling back, so an owner may go away at any time.
class CODialogAnimation {
public:
    using Tick = std::function<void(double value)>;
    using Done = std::function<void()>;
    static constexpr unsigned kDurationMs = 150;

    explicit CODialogAnimation(Gtk::Widget& clock);
    ~CODialogAnimation();
    CODialogAnimation(const CODialogAnimation&) = delete;
    CODialogAnimation& operator=(const CODialogAnimation&) = delete;

    // Runs from `from` to `to`; without `animated` (or on an unmapped widget, or with
    // animations turned off) the end value and `done` come at once.
    void run(double from, double to, bool animated, Tick tick, Done done = {});
    void stop();
    bool running() const;

private:
    static void onValue(double value, gpointer self);
    static void onDone(AdwAnimation* animation, gpointer self);

    Gtk::Widget& clock_;
    GObjectHandle<AdwAnimation> animation_;
    Tick tick_;
    Done done_;
};

}  // namespace quorvel
