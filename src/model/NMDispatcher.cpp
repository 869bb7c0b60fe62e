// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/NMDispatcher.hpp"

#include "model/DefaultsKeys.hpp"

#include "model/DateDay.hpp"
#include "platform/Clock.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/UserDefaults.hpp"

namespace quorvel {

NMDispatcher::NMDispatcher(UserDefaults& defaults, LocalNotifier& notifier, const Clock& clock)
    : defaults_(&defaults), notifier_(notifier), clock_(clock)
{
    readPropsFromPrefs();
}

NMDispatcher::NMDispatcher(nlohmann::json history, std::string subject, LocalNotifier& notifier, const Clock& clock)
    : alertHistory_(history.is_object() ? std::move(history) : nlohmann::json::object()),
      defaults_(nullptr),
      subject_(std::move(subject)),
      notifier_(notifier),
      clock_(clock)
{
}

void NMDispatcher::readPropsFromPrefs()
{
    if (defaults_ == nullptr) {
        return;
    }
    const nlohmann::json* stored = defaults_->objectForKey(DefaultsKeys::kAlertHistory);
    alertHistory_ = stored != nullptr && stored->is_object() ? *stored : nlohmann::json::object();
}

void NMDispatcher::saveSelfSate()
{
    if (defaults_ == nullptr) {
        return;  // the owner saves the held history with its state
    }
    defaults_->setObject(DefaultsKeys::kAlertHistory, alertHistory_);
    defaults_->synchronize();
}

void NMDispatcher::resetNotificationsHistory()
{
    resetHistoryValues();
    saveSelfSate();
}

void NMDispatcher::resetHistoryValues()
{
    const Date now = clock_.now();
    alertHistory_ = nlohmann::json{{DefaultsKeys::kMonthName, DateDay::getMonthName(now)},
                               {DefaultsKeys::kMonthNumber, DateDay::getMonthNumber(now)},
                               {DefaultsKeys::kDayNumber, 0},
                               {DefaultsKeys::kMonthLevel, 0.0},
                               {DefaultsKeys::kOverboundLevel, 0.0},
                               {DefaultsKeys::kDayMessage, ""},
                               {DefaultsKeys::kMonthMessage, ""},
                               {DefaultsKeys::kOverboundMessage, ""}};
}

std::optional<double> NMDispatcher::historyNumber(const char* key) const
{
    auto it = alertHistory_.find(key);
    if (it == alertHistory_.end()) {
        return std::nullopt;
    }
    return it->is_number() ? it->get<double>() : 0.0;
}

void NMDispatcher::trySendNotification(const LimitResult* r)
{
    if (r == nullptr) {
        return;
    }
    if (samePeriod(*r)) {
        sameMonth(*r);
    } else {
        newMonth(*r);
    }
}

bool NMDispatcher::samePeriod(const LimitResult& r) const
{
    const std::optional<double> period = historyNumber(DefaultsKeys::kPeriodStart);
    if (period && r.periodStart) {
        return *period == *r.periodStart;
    }
    // A history kept before periods were, or one just reset: its calendar month decides.
    const std::optional<double> month = historyNumber(DefaultsKeys::kMonthNumber);
    return month && *month == r.monthNum;
}

bool NMDispatcher::dayIsNew(const LimitResult& r) const
{
    if (r.dayDate) {
        // By date: a period from the 15th goes on into days 1..14 of the next month.
        return *r.dayDate > historyNumber(DefaultsKeys::kDayDate).value_or(0);
    }
    return r.dayNum && *r.dayNum > historyNumber(DefaultsKeys::kDayNumber).value_or(0);
}

void NMDispatcher::sameMonth(const LimitResult& r)
{
    std::string title = kTitleDefault;
    std::string text;
    bool send = false;
    // The period this history belongs to, learnt once after a reset or from an older history.
    bool save = r.periodStart && !alertHistory_.contains(DefaultsKeys::kPeriodStart);
    if (save) {
        alertHistory_[DefaultsKeys::kPeriodStart] = *r.periodStart;
    }
    if (r.dayNum && dayIsNew(r)) {
        alertHistory_[DefaultsKeys::kDayNumber] = *r.dayNum;
        if (r.dayDate) {
            alertHistory_[DefaultsKeys::kDayDate] = *r.dayDate;
        }
        alertHistory_[DefaultsKeys::kDayMessage] = r.msgDay.value_or("");
        text = r.msgDay.value_or("");
        title = kTitleDay;
        send = true;
    }
    if (r.monthVal && *r.monthVal > historyNumber(DefaultsKeys::kMonthLevel).value_or(0)) {
        // The early warning never follows or accompanies an over-plan alert of the same month.
        const double e = *r.monthVal;
        if (e > r.monthOVal.value_or(0.0) && e > historyNumber(DefaultsKeys::kOverboundLevel).value_or(0)) {
            alertHistory_[DefaultsKeys::kMonthLevel] = e;
            alertHistory_[DefaultsKeys::kMonthMessage] = r.msgMonth.value_or("");
            text = r.msgMonth.value_or("");
            title = kTitleMonth;
            send = true;
        }
    }
    if (r.monthOVal && *r.monthOVal > historyNumber(DefaultsKeys::kOverboundLevel).value_or(0)) {
        alertHistory_[DefaultsKeys::kOverboundLevel] = *r.monthOVal;
        alertHistory_[DefaultsKeys::kOverboundMessage] = r.msgOMonth.value_or("");
        text = r.msgOMonth.value_or("");
        title = kTitleOver;
        send = true;
    }
    if (send || save) {
        saveSelfSate();
    }
    if (send) {
        doSendNotificationMsg(text, title);
    }
}

void NMDispatcher::newMonth(const LimitResult& r)
{
    resetHistoryValues();  // saved once below, with the findings copied in
    const nlohmann::json findings = r.toDictionary();
    for (const auto& [key, value] : findings.items()) {
        alertHistory_[key] = value;
    }
    std::string title = kTitleDefault;
    std::string text;
    const auto choose = [&](const std::optional<std::string>& candidate, const char* candidateTitle) {
        if (candidate && !candidate->empty()) {
            text = *candidate;
            title = candidateTitle;
        }
    };
    choose(r.msgDay, kTitleDay);
    choose(r.msgMonth, kTitleMonth);
    choose(r.msgOMonth, kTitleOver);
    saveSelfSate();
    doSendNotificationMsg(text, title);
}

void NMDispatcher::doSendNotificationMsg(const std::string& text, const std::string& title)
{
    if (text.empty()) {
        return;
    }
    // A SIM's alert names the SIM by its name or operator, never by its identifiers.
    const std::string shown = subject_.empty() ? title : title + " \u2014 " + subject_;
    notifier_.presentLocalNotificationNow(LocalNotification{text, shown, "NotificationDataChanged"});
}

}  // namespace quorvel
