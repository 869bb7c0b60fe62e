// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <optional>
#include <set>
#include <string>

#include <gtkmm/application.h>

typedef struct _AdwMessageDialog AdwMessageDialog;

#include "engine/AppShell.hpp"
#include "engine/CAppController.hpp"
#include "engine/SelectedPlan.hpp"
#include "shell/FTabInterface.hpp"
#include "platform/glib/ApplicationHoldTasks.hpp"
#include "platform/glib/GNotificationNotifier.hpp"
#include "platform/glib/GeoclueLocationService.hpp"
#include "platform/glib/GlibMainQueue.hpp"
#include "platform/glib/GlibTimerSource.hpp"
#include "platform/SystemServices.hpp"
#include "ui/PromptTarget.hpp"
#include "ui/ScreenContext.hpp"

namespace quorvel {

class CODialog;

// The application on the desktop: the controller's life cycle mapped to the window (focus in
// is becoming active, focus out resigning, minimised or closed the background, shutdown the
// end), the tab interface, the first-start set-up that gates all sampling, usage alerts shown
// in the window while it is active and as desktop notifications otherwise, and the news offer.
class FAppDelegate final : public AppShell, public PromptTarget {
public:
    static constexpr const char* kApplicationId = "org.quorvel.Quorvel";

    explicit FAppDelegate(const Glib::RefPtr<Gtk::Application>& app);
    ~FAppDelegate() override;
    FAppDelegate(const FAppDelegate&) = delete;
    FAppDelegate& operator=(const FAppDelegate&) = delete;

    // AppShell.
    void createInterface() override;
    void runFirstStartWizard() override;
    void resumeFirstStart() override;
    void showAutoSubscription() override;
    void updateTrafficInterface(const SharedSummary& summary) override;
    void onResetLocationsHandler(const void* sender) override;
    void onResetPrevMonthsInfoHandler(const void* sender) override;
    void didReceiveLocalNotification(const LocalNotification& notification, bool launchedFromIt) override;
    void showFileProblem(const std::string& reason) override;

    // The set-up's prompts answer here.
    Gtk::Window* window() override;
    void setownAlertView(std::shared_ptr<CODialog> dialog) override { pownAlertView_ = std::move(dialog); }
    void alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex, const std::string& text) override;
    void DataPlanEntered() override;
    void DataPlanCancelled() override;
    void StartDayEntered() override;
    void StartDayCancelled() override;
    void UsedDataEntered() override;
    void UsedDataCancelled() override;
    void commonDataPlanEntered(const std::string& text);
    void commonStartDayEntered(const std::string& text);
    void commonDataUsedEntered(const std::string& text);

    CAppController& controller() { return controller_; }
    FTabInterface* tabs() { return tabs_.get(); }
    bool alertViewShowing() const { return bAlertViewShowing_; }
    // A SIM not set up that carried traffic: its set-up is offered once per window, asking first,
    // while no SIM has a plan, whether it is the SIM of the plan so far.
    void offerSimSetUp();
    AdwMessageDialog* simOffer() const { return simOffer_; }
    // The answer: "later", "new" (its own plan, through the set-up's prompts) or "take".
    void simOfferAnswered(const std::string& response);
    const std::optional<std::string>& simBeingSetUp() const { return settingUpSim_; }
    // The set-up prompt on screen in the dialog-widget form, for tests; null when none.
    const std::shared_ptr<CODialog>& ownAlertView() const { return pownAlertView_; }
    // The in-app alert on screen, for tests: its title and body.
    std::optional<std::pair<std::string, std::string>> shownAlert() const { return shownAlert_; }

private:
    void onStartup();
    void onActivate();
    void onShutdown();
    void onShowAlertAction(const Glib::VariantBase& parameter);
    // The cut-off notification's button.
    void turnMobileDataBackOn();
    void watchWindow();
    void onSurfaceState();
    void showInAppAlert(const std::string& title, const std::string& body);
    void showLastSummaryOn(TabScreen& screen);
    std::string fieldText(const char* fallback) const;
    void hideOwnAlertView();
    // Writes the login entry of the background watcher at the end of the set-up, and starts a
    // watcher when the entry is there and none runs.
    void startBackgroundCounting(bool setUpJustEnded);

    Glib::RefPtr<Gtk::Application> app_;
    GlibMainQueue queue_;
    GlibTimerSource timers_;
    ApplicationHoldTasks tasks_;
    GeoclueLocationService location_;
    GNotificationNotifier notifier_;
    SystemServices services_;
    CAppController controller_;
    SelectedPlan selectedPlan_{controller_};  // what the screens read: the plan shown
    std::optional<ScreenContext> context_;  // made when the manager exists
    std::unique_ptr<FTabInterface> tabs_;
    std::shared_ptr<CODialog> pownAlertView_;
    SharedSummary lastSummary_;
    // Resets the screens were told of after lastSummary_, which still holds what they cleared.
    struct Resets {
        bool locations = false;
        bool previousMonths = false;
    } resetsSinceSummary_;
    std::optional<LocalNotification> launchNotification_;
    std::optional<std::pair<std::string, std::string>> shownAlert_;
    bool launched_ = false;
    bool bInterfaceReady_ = false;
    bool bAlertViewShowing_ = false;
    bool setUpLeft_ = false;  // the first start's "Not Now": not asked again until "Set Up"
    std::set<std::string> simsOffered_;         // SIMs whose set-up was offered in this window
    std::optional<std::string> settingUpSim_;   // the SIM whose plan the prompts set up
    std::string settingUpName_;
    AdwMessageDialog* simOffer_ = nullptr;      // the open offer; the window owns it
    // The SIM's set-up ends without a plan (a prompt cancelled): This device's plan is shown.
    void abandonSimSetUp();
    void leaveFirstStart();
    bool minimized_ = false;
};

}  // namespace quorvel
