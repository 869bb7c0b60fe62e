// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/NotificationCenter.hpp"
#include "ui/settings/gtk/FPrefGroupedList.hpp"
#include "ui/settings/gtk/FPrefHistoryTransfer.hpp"
#include "ui/settings/gtk/FPrefNavigationController.hpp"
#include "ui/settings/gtk/FPrefOpenPrompt.hpp"
#include "ui/settings/gtk/FPrefResetActions.hpp"
#include "ui/dialog/gtk/PrefPrompts.hpp"
#include "ui/PromptTarget.hpp"
#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"

namespace quorvel {

// Tab screen "Settings": the plan, its start day, period and packs, the three alert switches, the resets (a
// pushed "Reset" page on phones, four rows on tablets), the reference page, a concern report
// by mail and the store page; which connections count, and counting in the background; the
// history's import and export. Values are entered through the value prompts; every change goes
// through the application controller, so the other screens hear of it.
class FPrefTableViewController final : public TabScreen, public PromptTarget {
public:
    // Sections and the alert switches' tags.
    enum Section { kPlan = 0, kAlerts = 1, kReset = 2, kInformation = 3, kCounting = 4, kHistory = 5 };
    enum PlanRow {
        kPlanValue = 0,
        kPlanStartDay = 1,
        kPlanOperator = 2,
        kPlanCutoff = 3,
        kPlanPeriod = 4,
        kPlanPacks = 5,
        kPlanSims = 6
    };
    enum CountingRow { kConnections = 0, kRecordPlaces = 1, kMapTiles = 2, kBackground = 3 };
    enum HistoryRow { kImportHistory = 0, kExportHistory = 1 };
    static constexpr int kTagDayLimit = 2006, kTagMonthLimit = 2004, kTagOverbound = 2007;

    explicit FPrefTableViewController(ScreenContext& context);
    // Tests hand in recording prompts.
    FPrefTableViewController(ScreenContext& context, PrefPrompts prompts);
    FPrefTableViewController(const FPrefTableViewController&) = delete;
    FPrefTableViewController& operator=(const FPrefTableViewController&) = delete;
    ~FPrefTableViewController() override;

    // TabScreen.
    Gtk::Widget& widget() override { return navigation_.widget(); }
    std::string title() const override;
    void updateInterface(const SharedSummary& summary) override;
    void setTabBarHiddenHandler(std::function<void(bool hidden)> handler) override;

    // PromptTarget.
    Gtk::Window* window() override;
    void setownAlertView(std::shared_ptr<CODialog> dialog) override { openPrompt_.set(std::move(dialog)); }
    void alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex, const std::string& fieldText) override;
    void DataPlanEntered() override;
    void DataPlanCancelled() override;
    void StartDayEntered() override;
    void StartDayCancelled() override;
    void UsedDataEntered() override;
    void UsedDataCancelled() override;

    void tableViewDidSelectRow(int section, int row);
    void switchChanged(int tag, bool on);
    void commonDataPlanEntered(const std::string& text);
    void commonStartDayEntered(const std::string& text);
    void commonDataUsedEntered(const std::string& text);
    void reloadData();

    FPrefResetActions::Reset tres() const { return resets_.tres(); }
    std::uint64_t pMonthPlanVal() const { return pMonthPlanVal_; }
    // The "Count in the Background" switch; null when the screen was given no file places.
    Gtk::Switch* backgroundSwitch();
    bool isTablet() const { return tablet_; }
    FPrefGroupedList& table() { return list_; }
    FPrefNavigationController& navigation() { return navigation_; }
    const FPrefResetActions& resets() const { return resets_; }
    const FPrefOpenPrompt& openPrompt() const { return openPrompt_; }
    FPrefHistoryTransfer& historyTransfer() { return history_; }

private:
    void buildSections();
    void selectedInformation(int row);
    void pushResetScreen();
    void pushReference();
    void pushConnections();
    void backgroundSwitched(bool on);

    ScreenContext& context_;
    PrefPrompts prompts_;
    bool tablet_;
    std::uint64_t pMonthPlanVal_;
    FPrefGroupedList list_;
    FPrefNavigationController navigation_;
    FPrefOpenPrompt openPrompt_;
    FPrefResetActions resets_;
    FPrefHistoryTransfer history_;
    bool syncingSwitches_ = false;
    NotificationCenter::Registration planChanged_;
    NotificationCenter::Registration deltasChanged_;
    NotificationCenter::Registration dataChanged_;
};

}  // namespace quorvel
