// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/HistoryTransfer.hpp"
#include "engine/InterfaceState.hpp"
#include "model/DataPlan.hpp"
#include "model/LocalDay.hpp"
#include "model/SimRecord.hpp"

namespace quorvel {

// What the screens may change, and the settings they show beside the plan. Every change goes
// through the application controller under its one-writer lock and is saved and announced
// there; screens read the figures through the plan interface, never through this one, except
// what each pack has left, which that interface does not carry.
class AppActions {
public:
    // The three alert switches of the settings.
    enum class AlertSwitch { Day, Month, Overbound };

    virtual ~AppActions() = default;

    // The resets.
    virtual void onResetLocations(const void* sender) = 0;
    virtual void onResetPrevMonthsInfo(const void* sender) = 0;
    // The user's figure for this billing period; false (nothing changed) when the clock cannot date it.
    virtual bool onResetThisMonthDataInfo(std::uint64_t used) = 0;
    virtual void onResetPlanValue(std::uint64_t plan) = 0;
    virtual void onResetPlanStartDay(std::int32_t day) = 0;
    virtual void resetFirstStart() = 0;
    // Until the first-start set-up is answered nothing is counted; the set-up can be left and
    // opened again from the main screen.
    virtual bool isFirstStart() const = 0;
    virtual void runSetUp() = 0;

    // Turns one kind of alert on or off: its defaults key and the manager's limits, then saves.
    virtual void setAlertSwitch(AlertSwitch which, bool on) = 0;
    virtual bool alertSwitch(AlertSwitch which) const = 0;
    // Mobile data off at the plan, and why it cannot be (no NetworkManager); none when it can.
    virtual void setCutoffAtPlan(bool on) = 0;
    virtual bool cutoffAtPlan() const = 0;
    virtual std::optional<std::string> cutoffUnavailable() const = 0;
    // Whether the places of use are recorded. Off stops asking for the location and books new
    // traffic to no place; the places already recorded stay.
    virtual void setRecordPlaces(bool on) = 0;
    virtual bool recordPlaces() const = 0;
    // The operator of the modem, when one reports it.
    virtual std::optional<std::string> operatorName() const = 0;

    // The counted interfaces: every interface now with whether it is counted and why.
    virtual std::vector<InterfaceState> interfaceReport() = 0;
    // Counts the interface from now on, or stops counting it. Where detection already decides
    // the same, the interface is given back to detection, so that it follows the modem's
    // changes as before.
    virtual void countInterface(const std::string& name, bool on) = 0;
    virtual void setCountMetered(bool on) = 0;
    virtual bool countMetered() const = 0;

    // The plan beyond its size: shape, packs, rollover and free hours as set. Each change is
    // saved and followed by an update, so the figures (what packs have left) come with the
    // next summary.
    virtual const DataPlan& dataPlan() const = 0;
    virtual PlanShape planShape() const = 0;
    virtual void setPlanShape(const PlanShape& shape) = 0;
    virtual void setRollover(bool on) = 0;
    virtual void setFreeHours(std::optional<DataPlan::FreeHours> hours) = 0;
    // False, and nothing changed, when the plan holds the most packs it keeps.
    virtual bool addPack(const AddonPack& pack) = 0;
    // Index from 0, below dataPlan().packs().size().
    virtual void removePack(std::size_t index) = 0;
    // What each stored pack has left now, in their order.
    virtual std::vector<std::uint64_t> packsLeft() const = 0;
    virtual LocalDay today() const = 0;

    // The plans the screens can show: This device's (no key) and each SIM's that is set up,
    // with the names people know them by.
    struct PlanChoice {
        std::optional<std::string> sim;  // the SIM's key; none: This device
        std::string name;
    };
    virtual std::vector<PlanChoice> planChoices() const = 0;
    // The plan shown; a change of it is announced as a change of the data usage.
    virtual std::optional<std::string> selectedSim() const = 0;
    virtual void showPlan(std::optional<std::string> sim) = 0;

    // The SIMs this device has seen, in the order first seen, with their plans once set up.
    struct KnownSim {
        SimRecord record;
        std::optional<std::uint64_t> plan;
    };
    virtual std::vector<KnownSim> knownSims() const = 0;
    // False, and nothing changed, for a name too long or of more than one line.
    virtual bool renameSim(const std::string& key, const std::string& name) = 0;
    // The SIM goes with its plan and history; the screens then show This device's plan when it
    // was the one shown.
    virtual void forgetSim(const std::string& key) = 0;

    // The shown plan's history in and out of files: a backup, another device's export, or
    // vnStat's database, told apart by their first bytes (`interface` picks one of vnStat's).
    // A real import is one saved change, followed by an update of every screen.
    virtual HistoryTransfer::Outcome importHistory(const std::string& path, const std::optional<std::string>& interface,
                                                   bool dryRun) = 0;
    // The JSON backup `quorvelctl import` reads back; the reason when it cannot be written.
    virtual std::optional<std::string> exportHistory(const std::string& path) const = 0;
};

}  // namespace quorvel
