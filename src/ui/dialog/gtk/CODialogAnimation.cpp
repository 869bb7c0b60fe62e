// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog/gtk/CODialogAnimation.hpp"

#include <utility>

namespace quorvel {

CODialogAnimation::CODialogAnimation(Gtk::Widget& clock) : clock_(clock) {}

CODialogAnimation::~CODialogAnimation()
{
    stop();
}

void CODialogAnimation::run(double from, double to, bool animated, Tick tick, Done done)
{
    stop();
    if (!animated) {
        tick(to);
        if (done) {
            done();
        }
        return;
    }
    tick_ = std::move(tick);
    done_ = std::move(done);
    AdwAnimationTarget* target = adw_callback_animation_target_new(&CODialogAnimation::onValue, this, nullptr);
    animation_.reset(adw_timed_animation_new(clock_.gobj(), from, to, kDurationMs, target));
    adw_timed_animation_set_easing(ADW_TIMED_ANIMATION(animation_.get()), ADW_EASE_IN_OUT_CUBIC);
    g_signal_connect(animation_.get(), "done", G_CALLBACK(&CODialogAnimation::onDone), this);
    // May finish on the spot (unmapped widget, animations off): onDone runs inside play.
    adw_animation_play(animation_.get());
}

void CODialogAnimation::stop()
{
    if (animation_ == nullptr) {
        return;
    }
    g_signal_handlers_disconnect_by_data(animation_.get(), this);
    if (adw_animation_get_state(animation_.get()) == ADW_ANIMATION_PLAYING) {
        // Pausing ends the ticks without a last value or a done signal.
        adw_animation_pause(animation_.get());
    }
    animation_.reset();
    tick_ = {};
    done_ = {};
}

bool CODialogAnimation::running() const
{
    return animation_ != nullptr && adw_animation_get_state(animation_.get()) == ADW_ANIMATION_PLAYING;
}

void CODialogAnimation::onValue(double value, gpointer self)
{
    auto* owner = static_cast<CODialogAnimation*>(self);
    if (owner->tick_) {
        owner->tick_(value);
    }
}

void CODialogAnimation::onDone(AdwAnimation* /*animation*/, gpointer self)
{
    auto* owner = static_cast<CODialogAnimation*>(self);
    // The finished animation stays until the next run; `done` may destroy the owner.
    Done done = std::exchange(owner->done_, {});
    owner->tick_ = {};
    if (done) {
        done();
    }
}

}  // namespace quorvel
