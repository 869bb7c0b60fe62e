// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "model/LimitResult.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

class Clock;
class LocalNotifier;
class UserDefaults;

// Decides which usage alerts the user actually sees: each finding once (a day alert once per
// day, the month warning once per billing period, the over-plan alert once per level and
// period), and per call only the most serious new one. The device's alert history lives in the user
// defaults under "Preferences_NMDispatcher", with the keys of the limit result; a SIM's is held here
// and kept by its owner in that SIM's entry of the state.
class NMDispatcher {
public:
    static constexpr const char* kTitleDay = N_("Daily Data Usage");
    static constexpr const char* kTitleMonth = N_("Data Usage Warning");
    static constexpr const char* kTitleOver = N_("Monthly Data Usage");
    static constexpr const char* kTitleDefault = N_("Data Usage Alert");

    NMDispatcher(UserDefaults& defaults, LocalNotifier& notifier, const Clock& clock);  // reads the history
    // A SIM's: the history given, and the SIM's name in each alert's title.
    NMDispatcher(nlohmann::json history, std::string subject, LocalNotifier& notifier, const Clock& clock);
    static std::unique_ptr<NMDispatcher> createMsgDispatcher(UserDefaults& defaults, LocalNotifier& notifier,
                                                             const Clock& clock)
    {
        return std::make_unique<NMDispatcher>(defaults, notifier, clock);
    }

    void readPropsFromPrefs();
    void saveSelfSate();
    void resetNotificationsHistory();
    // The findings of one update; null (an update without new traffic) does nothing.
    void trySendNotification(const LimitResult* r);
    // The null marker in place of a result: the history starts afresh.
    void trySendNullMarker() { resetNotificationsHistory(); }
    void doSendNotificationMsg(const std::string& text, const std::string& title);

    const nlohmann::json& dictrops() const { return alertHistory_; }
    void setSubject(std::string subject) { subject_ = std::move(subject); }
    const std::string& subject() const { return subject_; }

private:
    // A number of the history: the stored number, 0 for another type, absent when missing.
    std::optional<double> historyNumber(const char* key) const;
    void resetHistoryValues();
    // Whether the result belongs to the billing period the history was kept for.
    bool samePeriod(const LimitResult& r) const;
    bool dayIsNew(const LimitResult& r) const;
    void sameMonth(const LimitResult& r);
    void newMonth(const LimitResult& r);

    nlohmann::json alertHistory_ = nlohmann::json::object();
    UserDefaults* defaults_;  // null: the history is held, not stored in the defaults
    std::string subject_;
    LocalNotifier& notifier_;
    const Clock& clock_;
};

}  // namespace quorvel
