// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/FAppDelegate.hpp"

#include "platform/FollowedRoamingSource.hpp"
#include "platform/dbus/ModemRoamingSource.hpp"
#include "platform/dbus/ModemSimDirectory.hpp"
#include "platform/dbus/NetworkManagerDeviceDirectory.hpp"
#include "platform/dbus/NetworkManagerMobileData.hpp"

#include <adwaita.h>

#include <gdkmm/display.h>
#include <gdkmm/monitor.h>
#include <gdkmm/toplevel.h>
#include <giomm/simpleaction.h>
#include <glibmm/variant.h>

#include "engine/DefaultsSchema.hpp"
#include "engine/PlanActionsRunner.hpp"
#include "model/SetupRules.hpp"
#include "platform/AutostartEntry.hpp"
#include "platform/ProgramPath.hpp"
#include "platform/Translation.hpp"
#include "model/AlertWords.hpp"
#include "platform/WatcherLauncher.hpp"
#include "shell/FWindowSizeMemory.hpp"
#include "ui/dialog/gtk/CODialog.hpp"
#include "ui/settings/gtk/ContactUtils.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"
#include "ui/dialog/gtk/sharUtils.hpp"

namespace quorvel {

namespace {

constexpr std::uint64_t kNoCurrentValue = static_cast<std::uint64_t>(-1);
constexpr const char* kAlertTitle = N_("Data Usage Alert");

// The form the window opens in, from the primary monitor's width; the window's own width rules
// once it is shown.
UIDeviceVersion::Idiom monitorIdiom()
{
    auto display = Gdk::Display::get_default();
    auto monitors = display ? display->get_monitors() : Glib::RefPtr<Gio::ListModel>();
    int width = 0;
    if (monitors && monitors->get_n_items() > 0) {
        auto monitor = std::dynamic_pointer_cast<Gdk::Monitor>(monitors->get_object(0));
        if (monitor) {
            Gdk::Rectangle geometry;
            monitor->get_geometry(geometry);
            width = geometry.get_width();
        }
    }
    return UIDeviceVersion::idiomForWindowWidth(width);
}

}  // namespace

FAppDelegate::FAppDelegate(const Glib::RefPtr<Gtk::Application>& app)
    : app_(app),
      tasks_(*app),
      location_(kApplicationId),
      notifier_(*app),
      services_(Paths::fromEnvironment(), notifier_, &DefaultsSchema::check,
                std::make_unique<NetworkManagerDeviceDirectory>(), std::make_unique<NetworkManagerMobileData>(),
                // The window samples while it runs: it follows the modem's registration on its loop.
                ModemRoamingSource::start(ModemRegistrationWatch::Dispatch::ThreadDefault),
                // Each SIM's links are booked to that SIM, as the resident counter does.
                std::make_unique<ModemSimDirectory>()),
      controller_(services_.env(),
                  CAppController::Platform{queue_, tasks_, &timers_, &location_, services_.paths().stateLock,
                                           services_.paths().debugLog},
                  this)
{
    if (auto* modems = dynamic_cast<FollowedRoamingSource*>(services_.env().roaming)) {
        // What was used up to a change of registration or SIM is booked under the one that
        // carried it; then who carries which link is asked anew.
        modems->setBeforeChange([this] {
            if (controller_.pmodule() != nullptr && !controller_.isFirstStart()) {
                controller_.doGetTrafficInfoTask(false);
            }
        });
        modems->setAfterSimsChange([this] {
            if (controller_.pmodule() != nullptr) {
                controller_.withStateLock([](CTrafficManager& m) { m.knownSims().renewRoute(); });
            }
        });
    }
    app_->signal_startup().connect(sigc::mem_fun(*this, &FAppDelegate::onStartup));
    app_->signal_activate().connect(sigc::mem_fun(*this, &FAppDelegate::onActivate));
    app_->signal_shutdown().connect(sigc::mem_fun(*this, &FAppDelegate::onShutdown));
    notifier_.setWords(&AlertWords::translated);
    notifier_.setInAppHandler([this](const LocalNotification& n) {
        // One with a button stays a desktop notification, where the button is.
        if (tabs_ == nullptr || !tabs_->window().is_active() || !n.buttonLabel.empty()) {
            return false;
        }
        didReceiveLocalNotification(n, false);
        return true;
    });
}

FAppDelegate::~FAppDelegate() = default;

void FAppDelegate::onStartup()
{
    adw_init();
    FTabInterface::installStyle();
    const auto stored = FWindowSizeMemory::storedWidth(services_.env().defaults);
    UIDeviceVersion::setIdiom(stored ? UIDeviceVersion::idiomForWindowWidth(*stored) : monitorIdiom());
    auto action = Gio::SimpleAction::create("show-alert", Glib::VariantType("(sss)"));
    action->signal_activate().connect(sigc::mem_fun(*this, &FAppDelegate::onShowAlertAction));
    app_->add_action(action);
    auto mobileDataOn = Gio::SimpleAction::create(PlanActionsRunner::kTurnBackOnAction);
    mobileDataOn->signal_activate().connect([this](const Glib::VariantBase&) { turnMobileDataBackOn(); });
    app_->add_action(mobileDataOn);
}

void FAppDelegate::turnMobileDataBackOn()
{
    if (!launched_) {
        onActivate();  // the notification's button starts the application
    }
    const SwitchOutcome outcome = controller_.turnMobileDataBackOn();
    if (!outcome.ok) {
        showInAppAlert(_("Mobile Data Not Turned On"), outcome.error);
    }
}

void FAppDelegate::onActivate()
{
    if (!launched_) {
        launched_ = true;
        controller_.didFinishLaunching(CAppController::LaunchOptions{false, launchNotification_});
        launchNotification_.reset();
        startBackgroundCounting(false);
    }
    if (tabs_ != nullptr) {
        tabs_->window().present();
    }
}

void FAppDelegate::onShowAlertAction(const Glib::VariantBase& parameter)
{
    const auto values =
        Glib::VariantBase::cast_dynamic<Glib::Variant<std::tuple<Glib::ustring, Glib::ustring, Glib::ustring>>>(
            parameter)
            .get();
    const LocalNotification n{std::get<1>(values), std::get<0>(values), std::get<2>(values)};
    if (!launched_) {
        launchNotification_ = n;  // launching shows it on the first tab after the first update
        onActivate();
        return;
    }
    tabs_->window().present();
    didReceiveLocalNotification(n, true);
}

void FAppDelegate::onShutdown()
{
    controller_.applicationWillTerminate();
}

void FAppDelegate::createInterface()
{
    if (bInterfaceReady_) {
        return;
    }
    context_.emplace(ScreenContext{services_.env().center, services_.env().defaults, selectedPlan_, controller_,
                                   services_.env().clock, [this] { return window(); }, &services_.paths()});
    tabs_ = std::make_unique<FTabInterface>(*app_, *context_);
    // A screen made when its tab is first shown, or anew for another form, shows the last
    // summary at once, not a minute later.
    tabs_->onScreenBuilt = [this](TabScreen& screen) { showLastSummaryOn(screen); };
    watchWindow();
    tabs_->window().present();
    bInterfaceReady_ = true;
}

void FAppDelegate::watchWindow()
{
    Gtk::Window& w = tabs_->window();
    w.property_is_active().signal_changed().connect([this] {
        if (tabs_->window().is_active()) {
            controller_.applicationDidBecomeActive();
        } else {
            controller_.applicationWillResignActive();
        }
    });
    w.signal_realize().connect([this] {
        auto toplevel = std::dynamic_pointer_cast<Gdk::Toplevel>(tabs_->window().get_surface());
        if (toplevel) {
            toplevel->property_state().signal_changed().connect(sigc::mem_fun(*this, &FAppDelegate::onSurfaceState));
        }
    });
    w.signal_hide().connect([this] { controller_.applicationDidEnterBackground(); });
}

void FAppDelegate::onSurfaceState()
{
    auto toplevel = std::dynamic_pointer_cast<Gdk::Toplevel>(tabs_->window().get_surface());
    const bool minimized = toplevel && (toplevel->get_state() & Gdk::Toplevel::State::MINIMIZED) ==
                                           Gdk::Toplevel::State::MINIMIZED;
    if (minimized == minimized_) {
        return;
    }
    minimized_ = minimized;
    if (minimized) {
        controller_.applicationDidEnterBackground();
    } else {
        controller_.applicationWillEnterForeground();
    }
}

Gtk::Window* FAppDelegate::window()
{
    return tabs_ != nullptr ? &tabs_->window() : nullptr;
}

void FAppDelegate::updateTrafficInterface(const SharedSummary& summary)
{
    if (summary) {
        lastSummary_ = summary;
        resetsSinceSummary_ = {};
    }
    if (tabs_ == nullptr) {
        return;
    }
    tabs_->planSwitcher().refresh();
    for (TabScreen* screen : tabs_->builtScreens()) {
        screen->updateInterface(summary);
    }
    offerSimSetUp();
}

// What the screens made so far were told since the last summary, told to one made now.
void FAppDelegate::showLastSummaryOn(TabScreen& screen)
{
    if (lastSummary_) {
        screen.updateInterface(lastSummary_);
    }
    if (resetsSinceSummary_.locations) {
        screen.onResetLocationsHandler(nullptr);
    }
    if (resetsSinceSummary_.previousMonths) {
        screen.onResetPrevMonthsInfoHandler(nullptr);
    }
}

void FAppDelegate::offerSimSetUp()
{
    if (controller_.isFirstStart() || bAlertViewShowing_ || simOffer_ != nullptr || settingUpSim_ ||
        window() == nullptr) {
        return;
    }
    const std::optional<SimRecord> sim = controller_.simAwaitingSetUp();
    if (!sim || !simsOffered_.insert(sim->key()).second) {
        return;
    }
    const bool ask = controller_.noSimHasAPlan();
    const char* body = ask ? _("Is this the SIM of your current plan? Its traffic is counted for it and kept "
                               "apart until you say.")
                           : _("Its traffic is counted for it and kept apart. Set up its plan to see what is left.");
    const std::string title = Translation::fill(_("New SIM: %s"), {sim->displayName()});
    GtkWidget* dialog = adw_message_dialog_new(window()->gobj(), title.c_str(), body);
    simOffer_ = ADW_MESSAGE_DIALOG(dialog);
    adw_message_dialog_add_responses(simOffer_, "later", _("Not Now"), "new", ask ? _("New Plan") : _("Set Up"), nullptr);
    if (ask) {
        adw_message_dialog_add_response(simOffer_, "take", _("Yes, It Is"));
    }
    adw_message_dialog_set_response_appearance(simOffer_, ask ? "take" : "new", ADW_RESPONSE_SUGGESTED);
    adw_message_dialog_set_close_response(simOffer_, "later");
    settingUpName_ = sim->displayName();
    g_object_set_data_full(G_OBJECT(dialog), "sim", g_strdup(sim->key().c_str()), g_free);
    g_signal_connect(dialog, "response", G_CALLBACK(+[](AdwMessageDialog*, const char* response, gpointer self) {
                         static_cast<FAppDelegate*>(self)->simOfferAnswered(response);
                     }),
                     this);
    gtk_window_present(GTK_WINDOW(dialog));
}

void FAppDelegate::simOfferAnswered(const std::string& response)
{
    if (simOffer_ == nullptr) {
        return;
    }
    const std::string key = static_cast<const char*>(g_object_get_data(G_OBJECT(simOffer_), "sim"));
    g_signal_handlers_disconnect_by_data(simOffer_, this);
    simOffer_ = nullptr;  // the dialog closes itself after answering
    if (response == "take" && controller_.takeOverBy(key)) {
        controller_.showPlan(key);
    } else if (response == "new") {
        settingUpSim_ = key;
        controller_.selectPlan(key);  // the prompts' answers go to the SIM's plan
        bAlertViewShowing_ = true;
        sharUtils::showPlanPrompt(*this, kNoCurrentValue, settingUpName_);
    }
}

void FAppDelegate::abandonSimSetUp()
{
    hideOwnAlertView();
    settingUpSim_.reset();
    bAlertViewShowing_ = false;
    controller_.showPlan(std::nullopt);
}

void FAppDelegate::onResetLocationsHandler(const void* sender)
{
    resetsSinceSummary_.locations = true;
    if (tabs_ != nullptr) {
        for (TabScreen* screen : tabs_->builtScreens()) {
            screen->onResetLocationsHandler(sender);
        }
    }
}

void FAppDelegate::onResetPrevMonthsInfoHandler(const void* sender)
{
    resetsSinceSummary_.previousMonths = true;
    if (tabs_ != nullptr) {
        for (TabScreen* screen : tabs_->builtScreens()) {
            screen->onResetPrevMonthsInfoHandler(sender);
        }
    }
}

void FAppDelegate::showAutoSubscription()
{
    if (controller_.isFirstStart()) {
        return;
    }
    ContactUtils& contact = ContactUtils::sharedUtils();
    contact.setMpvc(window());
    contact.subscribeByAutoStart(services_.env().defaults);
}

void FAppDelegate::didReceiveLocalNotification(const LocalNotification& n, bool launchedFromIt)
{
    if (n.type.empty() || n.type == "NotificationPosChanged") {
        return;
    }
    const bool titled = n.type == "NotificationDataChanged" || n.type == PlanActionsRunner::kTypeCutOff ||
                        n.type == PlanActionsRunner::kTypeRoaming;
    const std::string title = titled && !n.title.empty() ? n.title : std::string(_(kAlertTitle));
    if (launchedFromIt && tabs_ != nullptr) {
        tabs_->selectTab(0);
    }
    showInAppAlert(title, n.body);
}

void FAppDelegate::showFileProblem(const std::string& reason)
{
    showInAppAlert(_("Usage Is Not Saved"),
                   reason + "\n\n" +
                       _("The file is left as it is. Quorvel keeps counting, but saves nothing until it can read the "
                         "file again."));
}

void FAppDelegate::showInAppAlert(const std::string& title, const std::string& body)
{
    shownAlert_ = {title, body};
    if (window() == nullptr) {
        return;
    }
    const std::string shownTitle = AlertWords::translated(title), shownBody = AlertWords::translated(body);
    GtkWidget* dialog = adw_message_dialog_new(window()->gobj(), shownTitle.c_str(), shownBody.c_str());
    adw_message_dialog_add_response(ADW_MESSAGE_DIALOG(dialog), "ok", _("OK"));
    g_signal_connect(dialog, "response", G_CALLBACK(+[](GtkWidget* d, const char*, gpointer self) {
                         static_cast<FAppDelegate*>(self)->shownAlert_.reset();
                         gtk_window_destroy(GTK_WINDOW(d));
                     }),
                     this);
    gtk_window_present(GTK_WINDOW(dialog));
}

// The first-start set-up: plan, start day, then the data already used, which ends it. Nothing
// is sampled until then. Left with "Not Now" (or Escape) before the last question, it waits for
// the main screen's "Set Up" in this run and is offered again at the next start.
void FAppDelegate::runFirstStartWizard()
{
    if (!controller_.isFirstStart() || bAlertViewShowing_ || setUpLeft_) {
        return;
    }
    bAlertViewShowing_ = true;
    sharUtils::showFirstStartPrompt(*this);
}

void FAppDelegate::resumeFirstStart()
{
    setUpLeft_ = false;
    runFirstStartWizard();
}

void FAppDelegate::leaveFirstStart()
{
    hideOwnAlertView();
    bAlertViewShowing_ = false;
    setUpLeft_ = true;
}

void FAppDelegate::hideOwnAlertView()
{
    if (pownAlertView_) {
        pownAlertView_->hideAnimated(true);
        pownAlertView_.reset();
    }
}

std::string FAppDelegate::fieldText(const char* fallback) const
{
    return pownAlertView_ ? pownAlertView_->textForTextFieldAtIndex(0) : std::string(fallback);
}

void FAppDelegate::commonDataPlanEntered(const std::string& text)
{
    const std::optional<std::uint64_t> plan = SetupRules::planFromEntry(text.empty() ? "0" : text);
    hideOwnAlertView();
    if (!plan) {
        if (settingUpSim_) {
            sharUtils::showPlanPrompt(*this, kNoCurrentValue, settingUpName_);
        } else {
            sharUtils::showFirstStartPrompt(*this);
        }
        return;
    }
    controller_.onResetPlanValue(*plan);
    sharUtils::showStartDayPrompt(*this, 1, settingUpSim_ ? settingUpName_ : std::string());
}

void FAppDelegate::commonStartDayEntered(const std::string& text)
{
    const std::optional<std::int32_t> day = SetupRules::startDayFromEntry(text.empty() ? "0" : text);
    hideOwnAlertView();
    if (!day) {
        sharUtils::showStartDayPrompt(*this, 1, settingUpSim_ ? settingUpName_ : std::string());
        return;
    }
    controller_.onResetPlanStartDay(*day);
    if (settingUpSim_) {
        // A SIM's set-up keeps what was counted for it: no used data to ask.
        const std::string key = *settingUpSim_;
        settingUpSim_.reset();
        bAlertViewShowing_ = false;
        controller_.finishSimSetUp();
        controller_.showPlan(key);
        return;
    }
    sharUtils::showUsedPrompt(*this, kNoCurrentValue);
}

void FAppDelegate::commonDataUsedEntered(const std::string& text)
{
    const std::optional<std::uint64_t> used = SetupRules::usedFromEntry(text.empty() ? "0" : text);
    hideOwnAlertView();
    if (!used) {  // more megabytes than bytes can hold: asked again, never wrapped
        sharUtils::showUsedPrompt(*this, kNoCurrentValue);
        return;
    }
    controller_.resetWizardFinished();
    controller_.onResetThisMonthDataInfo(*used);
    bAlertViewShowing_ = false;
    startBackgroundCounting(true);
}

void FAppDelegate::startBackgroundCounting(bool setUpJustEnded)
{
    // Counting in the background is on from the set-up on; the login entry's presence is the
    // user's switch, and the watcher it starts at login is started now when none runs.
    const Paths& paths = services_.paths();
    const AutostartEntry entry(paths.autostartEntry);
    const std::filesystem::path ctl = ProgramPath::beside("quorvelctl");
    if (setUpJustEnded) {
        entry.install(ctl);
    }
    if (entry.present()) {
        WatcherLauncher::startIfNone(paths.watchLock, ctl);
    }
}

void FAppDelegate::alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex, const std::string& text)
{
    if (settingUpSim_ && buttonIndex != 1) {
        abandonSimSetUp();  // unlike the first start, a SIM's set-up can wait
        return;
    }
    if (buttonIndex != 1 && (kind == PromptKind::Plan || kind == PromptKind::StartDay) && controller_.isFirstStart()) {
        leaveFirstStart();
        return;
    }
    const std::string entered = buttonIndex == 1 ? text : "0";
    if (kind == PromptKind::Plan) {
        commonDataPlanEntered(entered);
    } else if (kind == PromptKind::StartDay) {
        commonStartDayEntered(entered);
    } else if (kind == PromptKind::Used) {
        commonDataUsedEntered(entered);
    }
}

void FAppDelegate::DataPlanEntered()
{
    commonDataPlanEntered(fieldText("0"));
}

void FAppDelegate::DataPlanCancelled()
{
    if (settingUpSim_) {
        abandonSimSetUp();
        return;
    }
    if (controller_.isFirstStart()) {
        leaveFirstStart();
        return;
    }
    hideOwnAlertView();
    commonDataPlanEntered("0");
}

void FAppDelegate::StartDayEntered()
{
    commonStartDayEntered(fieldText("0"));
}

void FAppDelegate::StartDayCancelled()
{
    if (settingUpSim_) {
        abandonSimSetUp();
        return;
    }
    if (controller_.isFirstStart()) {
        leaveFirstStart();
        return;
    }
    hideOwnAlertView();
    commonStartDayEntered("0");
}

void FAppDelegate::UsedDataEntered()
{
    commonDataUsedEntered(fieldText(""));
}

void FAppDelegate::UsedDataCancelled()
{
    hideOwnAlertView();
    commonDataUsedEntered("0");
}

}  // namespace quorvel
