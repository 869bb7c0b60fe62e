// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefTableViewController.hpp"

#include "engine/AppActions.hpp"
#include "model/Messages.hpp"
#include "model/CPlanProtocol.hpp"
#include "model/DefaultsKeys.hpp"
#include "platform/ProgramPath.hpp"
#include "platform/UserDefaults.hpp"
#include "ui/settings/BackgroundCounting.hpp"
#include "ui/settings/gtk/ContactUtils.hpp"
#include "ui/settings/gtk/FPrefConnectionsViewController.hpp"
#include "ui/settings/gtk/FPrefSimsViewController.hpp"
#include "ui/settings/gtk/FPrefInfoViewController.hpp"
#include "ui/settings/gtk/FPrefPacksViewController.hpp"
#include "ui/settings/gtk/FPrefPlanViewController.hpp"
#include "ui/settings/PlanEntries.hpp"
#include "ui/settings/gtk/FPrefResetViewController.hpp"
#include "ui/settings/PrefEntries.hpp"
#include "ui/settings/HistoryTexts.hpp"
#include "ui/settings/PrefTexts.hpp"
#include "ui/gtk/UIDeviceVersion.hpp"

namespace quorvel {

namespace {

enum ResetRow { kResetThisMonth = 0, kResetPreviousMonths = 1, kResetLocations = 2, kResetAll = 3 };
enum InformationRow { kReference = 0, kConcern = 1, kFeedback = 2 };

struct AlertSwitchRow {
    int tag;
    const char* text;
    AppActions::AlertSwitch which;
};
constexpr AlertSwitchRow kSwitches[] = {
    {FPrefTableViewController::kTagDayLimit, PrefTexts::kRowDailyLimit, AppActions::AlertSwitch::Day},
    {FPrefTableViewController::kTagMonthLimit, PrefTexts::kRowMonthlyLimit, AppActions::AlertSwitch::Month},
    {FPrefTableViewController::kTagOverbound, PrefTexts::kRowOverbound, AppActions::AlertSwitch::Overbound},
};

}  // namespace

FPrefTableViewController::FPrefTableViewController(ScreenContext& context)
    : FPrefTableViewController(context, PrefPrompts::standard())
{
}

FPrefTableViewController::FPrefTableViewController(ScreenContext& context, PrefPrompts prompts)
    : context_(context),
      prompts_(std::move(prompts)),
      tablet_(UIDeviceVersion::isPadInterface()),
      pMonthPlanVal_(PrefTexts::planPreference(context.defaults)),
      list_(tablet_),
      navigation_(list_.widget(), PrefTexts::kTitleSettings),
      resets_(context, *this, prompts_, openPrompt_, this),
      history_(context.app, context.window)
{
    buildSections();
    list_.onSelect = [this](int section, int row) { tableViewDidSelectRow(section, row); };
    reloadData();

    planChanged_ = context_.center.addObserver(std::string(messages::kMonthPlanSettingWasChanged),
                                               [this](const Notification& n) {
                                                   if (n.number) {
                                                       pMonthPlanVal_ = *n.number;
                                                   }
                                                   reloadData();
                                               });
    const auto reload = [this](const Notification&) { reloadData(); };
    deltasChanged_ = context_.center.addObserver(std::string(messages::kDeltasCntWasChanged), reload);
    dataChanged_ = context_.center.addObserver(std::string(messages::kDataUsageWasChanged), reload);
}

FPrefTableViewController::~FPrefTableViewController() = default;

std::string FPrefTableViewController::title() const
{
    return PrefTexts::kTitleSettings;
}

void FPrefTableViewController::buildSections()
{
    using Accessory = FPrefTableRow::Accessory;
    using Header = FPrefGroupedList::Header;
    const auto section = [this](int number, const char* header) {
        return list_.addSection(header, Header::Settings, PrefTexts::settingsFooter(number),
                                PrefTexts::settingsFooterHeight(number, tablet_));
    };

    const int plan = section(kPlan, PrefTexts::kHeaderPlan);
    list_.addRow(plan, "", "ic_data_plan", Accessory::None);
    list_.addRow(plan, "", "calendar2", Accessory::None);
    list_.addRow(plan, "", "", Accessory::None).reserveIconSpace();
    FPrefTableRow& cutoff = list_.addRow(plan, PrefTexts::kRowCutoff, "", Accessory::Switch);
    cutoff.reserveIconSpace();
    cutoff.wrapTitle();
    // Asked once: whether NetworkManager is there does not change while the screen is open.
    const std::optional<std::string> unavailable = context_.app.cutoffUnavailable();
    cutoff.setSubtitle(unavailable.value_or(""));
    cutoff.set_sensitive(!unavailable);
    cutoff.toggle()->property_active().signal_changed().connect([this, &cutoff] {
        if (!syncingSwitches_) {
            context_.app.setCutoffAtPlan(cutoff.toggle()->get_active());
        }
    });
    list_.addRow(plan, "", "", Accessory::Arrow).reserveIconSpace();
    list_.addRow(plan, "", "", Accessory::Arrow).reserveIconSpace();
    list_.addRow(plan, "", "", Accessory::Arrow).reserveIconSpace();

    const int alerts = section(kAlerts, PrefTexts::kHeaderAlerts);
    for (const AlertSwitchRow& s : kSwitches) {
        FPrefTableRow& row = list_.addRow(alerts, s.text, "", Accessory::Switch);
        row.toggle()->property_active().signal_changed().connect([this, &row, tag = s.tag] {
            if (!syncingSwitches_) {
                switchChanged(tag, row.toggle()->get_active());
            }
        });
    }

    const int reset = section(kReset, PrefTexts::kHeaderReset);
    if (tablet_) {
        list_.addRow(reset, "", "", Accessory::Disclosure);
        list_.addRow(reset, PrefTexts::kRowPreviousMonths, "", Accessory::Disclosure);
        list_.addRow(reset, "", "", Accessory::Disclosure);
        list_.addRow(reset, PrefTexts::kRowResetAll, "", Accessory::Disclosure);
    } else {
        list_.addRow(reset, PrefTexts::kRowResetStatistic, "ic_reset", Accessory::Arrow);
    }

    const int information = section(kInformation, PrefTexts::kHeaderInformation);
    list_.addRow(information, PrefTexts::kRowReference, "ic_app_tip", Accessory::Arrow);
    list_.addRow(information, PrefTexts::kRowConcern, "", Accessory::None).reserveIconSpace();
    list_.addRow(information, PrefTexts::kRowFeedback, "", Accessory::None).reserveIconSpace();

    const int counting = section(kCounting, PrefTexts::kHeaderCounting);
    list_.addRow(counting, PrefTexts::kRowConnections, "", Accessory::Arrow);
    FPrefTableRow& places = list_.addRow(counting, PrefTexts::kRowRecordPlaces, "", Accessory::Switch);
    places.toggle()->property_active().signal_changed().connect([this, &places] {
        if (!syncingSwitches_) {
            context_.app.setRecordPlaces(places.toggle()->get_active());
        }
    });
    // Off until asked: the map's tiles would cost the data this screen counts.
    FPrefTableRow& tiles = list_.addRow(counting, PrefTexts::kRowMapTiles, "", Accessory::Switch);
    tiles.toggle()->property_active().signal_changed().connect([this, &tiles] {
        if (!syncingSwitches_) {
            context_.defaults.setObject(DefaultsKeys::kMapTilesOverMobile, tiles.toggle()->get_active());
            context_.defaults.synchronize();
        }
    });
    if (context_.paths != nullptr) {
        FPrefTableRow& row = list_.addRow(counting, PrefTexts::kRowBackground, "", Accessory::Switch);
        row.toggle()->property_active().signal_changed().connect([this, &row] {
            if (!syncingSwitches_) {
                backgroundSwitched(row.toggle()->get_active());
            }
        });
    }

    const int history = list_.addSection(HistoryTexts::kHeaderHistory, Header::Settings, HistoryTexts::kFooter,
                                         PrefTexts::settingsFooterHeight(kHistory, tablet_));
    list_.addRow(history, HistoryTexts::kRowImport, "", Accessory::None);
    list_.addRow(history, HistoryTexts::kRowExport, "", Accessory::None);
}

Gtk::Switch* FPrefTableViewController::backgroundSwitch()
{
    return list_.rowCount(kCounting) > kBackground ? list_.row(kCounting, kBackground).toggle() : nullptr;
}

void FPrefTableViewController::backgroundSwitched(bool on)
{
    const BackgroundCounting background(*context_.paths, ProgramPath::beside("quorvelctl"));
    if (!background.setOn(on)) {
        reloadData();  // the switch shows what the files say, not what was asked
    }
}

void FPrefTableViewController::reloadData()
{
    // The plan shown: This device's as its preference says, or a SIM's own.
    pMonthPlanVal_ = context_.app.selectedSim() ? context_.plan.getMonthPlan() : PrefTexts::planPreference(context_.defaults);
    list_.row(kPlan, kPlanValue).setText(PrefTexts::planRow(pMonthPlanVal_));
    list_.row(kPlan, kPlanStartDay).setText(PrefTexts::startDayRow(context_.plan.getPlanStartDay()));
    list_.row(kPlan, kPlanOperator).setText(PrefTexts::operatorRow(context_.app.operatorName()));
    list_.row(kPlan, kPlanPeriod).setText(PrefTexts::periodRow(PlanEntries::shapeSummary(context_.app.planShape())));
    list_.row(kPlan, kPlanPacks).setText(PrefTexts::packsRow(context_.app.dataPlan().packs().size()));
    list_.row(kPlan, kPlanSims).setText(PrefTexts::simsRow(context_.app.knownSims().size()));
    syncingSwitches_ = true;
    list_.row(kPlan, kPlanCutoff).toggle()->set_active(context_.app.cutoffAtPlan());
    for (int r = 0; r < list_.rowCount(kAlerts); ++r) {
        list_.row(kAlerts, r).toggle()->set_active(context_.app.alertSwitch(kSwitches[r].which));
    }
    list_.row(kCounting, kRecordPlaces).toggle()->set_active(context_.app.recordPlaces());
    list_.row(kCounting, kMapTiles)
        .toggle()
        ->set_active(context_.defaults.boolForKey(DefaultsKeys::kMapTilesOverMobile).value_or(false));
    if (Gtk::Switch* background = backgroundSwitch()) {
        background->set_active(BackgroundCounting(*context_.paths, {}).on());
    }
    syncingSwitches_ = false;
    if (tablet_) {
        list_.row(kReset, kResetThisMonth).setText(PrefTexts::thisMonthRow(context_.plan.getDataUsed()));
        list_.row(kReset, kResetLocations).setText(PrefTexts::locationsRow(context_.plan.getLocationsCount()));
    }
}

void FPrefTableViewController::updateInterface(const SharedSummary&)
{
    reloadData();
}

void FPrefTableViewController::setTabBarHiddenHandler(std::function<void(bool hidden)> handler)
{
    navigation_.onTabBarHidden = std::move(handler);
}

Gtk::Window* FPrefTableViewController::window()
{
    return context_.window ? context_.window() : nullptr;
}

void FPrefTableViewController::switchChanged(int tag, bool on)
{
    for (const AlertSwitchRow& s : kSwitches) {
        if (s.tag == tag) {
            context_.app.setAlertSwitch(s.which, on);
            return;
        }
    }
}

void FPrefTableViewController::tableViewDidSelectRow(int section, int row)
{
    if (section == kPlan && row == kPlanValue) {
        prompts_.plan(*this, context_.plan.getMonthPlan());
    } else if (section == kPlan && row == kPlanStartDay) {
        prompts_.startDay(*this, context_.plan.getPlanStartDay());
    } else if (section == kPlan && row == kPlanCutoff && list_.row(section, row).get_sensitive()) {
        Gtk::Switch& toggle = *list_.row(section, row).toggle();
        toggle.set_active(!toggle.get_active());
    } else if (section == kPlan && row == kPlanPeriod) {
        navigation_.push(std::make_unique<FPrefPlanViewController>(context_));
    } else if (section == kPlan && row == kPlanPacks) {
        navigation_.push(std::make_unique<FPrefPacksViewController>(context_));
    } else if (section == kPlan && row == kPlanSims) {
        navigation_.push(std::make_unique<FPrefSimsViewController>(context_));
    } else if (section == kAlerts) {
        Gtk::Switch& toggle = *list_.row(section, row).toggle();
        toggle.set_active(!toggle.get_active());  // the switch's own handler applies it
    } else if (section == kReset && !tablet_) {
        pushResetScreen();
    } else if (section == kReset && row == kResetThisMonth) {
        resets_.thisMonthSelected();
    } else if (section == kReset && row == kResetPreviousMonths) {
        resets_.previousMonthsSelected();
    } else if (section == kReset && row == kResetLocations) {
        resets_.locationsSelected();
    } else if (section == kReset && row == kResetAll) {
        resets_.resetAllSelected();
    } else if (section == kInformation) {
        selectedInformation(row);
    } else if (section == kCounting && row == kConnections) {
        pushConnections();
    } else if (section == kHistory && row == kImportHistory) {
        history_.importSelected();
    } else if (section == kHistory && row == kExportHistory) {
        history_.exportSelected();
    } else if (section == kCounting && (row == kRecordPlaces || row == kMapTiles || row == kBackground)) {
        Gtk::Switch& toggle = *list_.row(section, row).toggle();
        toggle.set_active(!toggle.get_active());
    }
    list_.deselectAll();
}

void FPrefTableViewController::selectedInformation(int row)
{
    ContactUtils& contact = ContactUtils::sharedUtils();
    if (row == kReference) {
        pushReference();
    } else if (row == kConcern) {
        contact.reportConcern(window());
    } else if (row == kFeedback) {
        contact.giveFeedback(window());
    }
}

void FPrefTableViewController::pushResetScreen()
{
    navigation_.push(std::make_unique<FPrefResetViewController>(context_, prompts_, tablet_));
}

void FPrefTableViewController::pushReference()
{
    navigation_.push(std::make_unique<FPrefInfoViewController>());
}

void FPrefTableViewController::pushConnections()
{
    navigation_.push(std::make_unique<FPrefConnectionsViewController>(context_));
}

void FPrefTableViewController::alertViewClickedButtonAtIndex(PromptKind kind, int buttonIndex,
                                                             const std::string& fieldText)
{
    if (buttonIndex == 1 && kind == PromptKind::Used) {
        commonDataUsedEntered(fieldText);  // deselects once an amount is taken
        return;
    }
    if (buttonIndex == 1 && kind == PromptKind::Plan) {
        commonDataPlanEntered(fieldText);
    } else if (buttonIndex == 1 && kind == PromptKind::StartDay) {
        commonStartDayEntered(fieldText);
    } else if (resets_.answered(kind, buttonIndex)) {
        reloadData();
    }
    list_.deselectAll();
}

void FPrefTableViewController::DataPlanEntered()
{
    commonDataPlanEntered(openPrompt_.text("0"));
}

void FPrefTableViewController::DataPlanCancelled()
{
    openPrompt_.close();
    resets_.setTres(FPrefResetActions::Reset::None);
}

void FPrefTableViewController::StartDayEntered()
{
    commonStartDayEntered(openPrompt_.text("0"));
}

void FPrefTableViewController::StartDayCancelled()
{
    openPrompt_.close();
}

void FPrefTableViewController::UsedDataEntered()
{
    commonDataUsedEntered(openPrompt_.text("0"));
}

void FPrefTableViewController::UsedDataCancelled()
{
    openPrompt_.close();
    list_.deselectAll();
    resets_.setTres(FPrefResetActions::Reset::None);
}

void FPrefTableViewController::commonDataPlanEntered(const std::string& text)
{
    openPrompt_.close();
    if (PrefEntries::keepsCurrentValue(text)) {
        return;
    }
    const std::optional<std::uint64_t> plan = PrefEntries::plan(text);
    if (!plan) {
        prompts_.plan(*this, context_.plan.getMonthPlan());
        return;
    }
    // The controller posts the plan change, which refreshes the list.
    context_.app.onResetPlanValue(*plan);
    context_.app.resetFirstStart();
}

void FPrefTableViewController::commonStartDayEntered(const std::string& text)
{
    openPrompt_.close();
    if (PrefEntries::keepsCurrentValue(text)) {
        return;  // the billing month and the alert history stay as they are
    }
    const std::optional<std::int32_t> day = PrefEntries::startDay(text);
    if (!day) {
        prompts_.startDay(*this, context_.plan.getPlanStartDay());
        return;
    }
    context_.app.onResetPlanStartDay(*day);
    reloadData();
}

void FPrefTableViewController::commonDataUsedEntered(const std::string& text)
{
    if (resets_.commonDataUsedEntered(text)) {
        list_.deselectAll();
        reloadData();
    }
}

}  // namespace quorvel
