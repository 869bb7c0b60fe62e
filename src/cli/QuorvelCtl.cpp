// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/QuorvelCtl.hpp"

#include <charconv>
#include <ostream>

#include "cli/CtlBusServices.hpp"
#include "cli/CtlChartModule.hpp"
#include "cli/CtlLimitText.hpp"
#include "cli/CtlDesktopNotifier.hpp"
#include "cli/CtlProblem.hpp"
#include "engine/HistoryExport.hpp"
#include "cli/CtlHelp.hpp"
#include "cli/CtlImport.hpp"
#include "cli/CtlInterfaces.hpp"
#include "cli/CtlPlan.hpp"
#include "cli/CtlSims.hpp"
#include "cli/CtlReport.hpp"
#include "cli/CtlStateWatch.hpp"
#include "cli/CtlStatusLine.hpp"
#include "cli/CtlWatch.hpp"
#include "engine/CAppController.hpp"
#include "engine/DefaultsSchema.hpp"
#include "model/AlertWords.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/FileSize.hpp"
#include "model/SimQuery.hpp"
#include "model/StrictEntry.hpp"
#include "platform/AutostartEntry.hpp"
#include "platform/FollowedLocationSource.hpp"
#include "platform/Clock.hpp"
#include "platform/MainQueue.hpp"
#include "platform/NumberFormat.hpp"
#include "platform/ProgramPath.hpp"
#include "platform/SystemServices.hpp"
#include "platform/Translation.hpp"
#include "platform/RoamingSource.hpp"

namespace quorvel {

namespace {

// How a refused entry is reported: the reason follows.
constexpr const char* kInvalidPlan = N_("invalid plan: %s; nothing was changed");
constexpr const char* kInvalidStartDay = N_("invalid start day: %s; nothing was changed");
constexpr const char* kInvalidUsed = N_("invalid used data: %s; nothing was changed");

// "LAT,LON" in degrees, read without the locale (a comma separates the two).
std::optional<Location> parseLocation(const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    Location l;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto lat = std::from_chars(begin, begin + comma, l.latitude);
    const auto lon = std::from_chars(begin + comma + 1, end, l.longitude);
    if (lat.ec != std::errc() || lat.ptr != begin + comma || lon.ec != std::errc() || lon.ptr != end ||
        !l.isValid()) {
        return std::nullopt;
    }
    l.horizontalAccuracy = 10.0;
    return l;
}

// A file that cannot be opened stops the command before it changes anything.
struct FileProblem {};
// A `--sim` that names no SIM, or several: said, and nothing done.
struct NoSuchSim {};

StrictEntry::Read<std::uint64_t> megabytesEntry(const std::string& text, bool positive)
{
    return StrictEntry::megabytes(text, NumberFormat::decimalSeparator(), positive);
}

std::optional<bool> onOff(const std::string& text)
{
    if (text == "on") {
        return true;
    }
    if (text == "off") {
        return false;
    }
    return std::nullopt;
}

}  // namespace

QuorvelCtl::QuorvelCtl(const Paths& paths, std::ostream& out, std::ostream& err, ChartMaker makeChart)
    : paths_(paths), makeChart_(std::move(makeChart)), target_(out), err_(err)
{
}

QuorvelCtl::~QuorvelCtl() = default;

void QuorvelCtl::start(std::unique_ptr<RoamingSource> roaming)
{
    app_.reset();  // a second start reads the files anew; the old controller goes first
    const bool resident = roaming != nullptr;
    services_ = std::make_unique<SystemServices>(paths_, notifier_, &DefaultsSchema::check,
                                                 CtlBusServices::networkDevices(), CtlBusServices::mobileDataSwitch(),
                                                 std::move(roaming), CtlBusServices::simCards());
    queue_ = std::make_unique<ManualQueue>();
    tasks_ = std::make_unique<NoBackgroundTasks>();
    app_ = std::make_unique<CAppController>(
        services_->env(), CAppController::Platform{*queue_, *tasks_, nullptr, nullptr, paths_.stateLock, paths_.debugLog},
        nullptr);
    app_->initPrefs();
    app_->CreateTraffManager();
    if (app_->fileProblem()) {
        throw FileProblem{};  // the reason was logged as it was met
    }
    if (!resident) {
        // Only the resident sampler hears the modem manager's signals: the others ask.
        app_->pmodule()->knownSims().askEachSample(true);
    }
    choosePlan();
}

void QuorvelCtl::choosePlan()
{
    if (!simWord_) {
        app_->selectActivePlan();
        return;
    }
    const KnownSims& stored = app_->pmodule()->knownSims();
    const SimCardList now = services_->env().sims->sims().value_or(SimCardList{});
    const Date when = services_->env().clock.now();
    const std::vector<SimRecord> known = stored.withSeen(now, when);
    if (SimQuery::namesThisDevice(*simWord_, known)) {
        app_->selectPlan(std::nullopt);
        return;
    }
    const std::optional<std::size_t> index = CtlSims::resolve(*simWord_, known, err_);
    if (!index) {
        throw NoSuchSim{};
    }
    const std::string key = known[*index].key();
    if (stored.find(key) == nullptr) {  // reported now, never stored: kept from now on
        app_->withStateLock([&](CTrafficManager& m) { m.knownSims().see(now, when); });
        stopUnlessSaved();
    }
    app_->selectPlan(key);
}

bool QuorvelCtl::planSetUp()
{
    if (app_->planSetUp()) {
        return true;
    }
    if (const std::optional<std::string> sim = app_->selectedSim()) {
        const KnownSims& sims = app_->pmodule()->knownSims();
        const std::size_t index = *sims.indexOf(*sim);
        err_ << Translation::fill(_("The SIM \"%s\" is not set up yet. Run: quorvelctl --sim %s setup --plan MB "
                                    "--start-day DAY [--used MB]"),
                                  {sims.entries()[index].record.displayName(), SimQuery::wordFor(index, sims.records())})
             << "\n";
    } else {
        err_ << _("Quorvel is not set up yet. Run: quorvelctl setup --plan MB --start-day DAY [--used MB]") << "\n";
    }
    return false;
}

void QuorvelCtl::stopUnlessSaved() const
{
    if (app_->fileProblem()) {
        throw FileProblem{};
    }
}

int QuorvelCtl::run(const std::vector<std::string>& argv)
{
    argv_ = argv;
    const CtlArguments::Parsed parsed = CtlArguments::parse(argv);
    if (!parsed.arguments) {
        CtlProblem::say(err_, parsed.error);
        err_ << CtlArguments::usage();
        return 2;
    }
    if (parsed.arguments->command == "help" || parsed.arguments->command == "version") {
        const int code = CtlHelp::answer(*parsed.arguments, out_, err_);
        target_ << out_.str();
        return code;
    }
    int code = kCannotSave;
    simWord_ = parsed.arguments->sim;
    try {
        code = dispatch(*parsed.arguments);
    } catch (const FileProblem&) {
        return kCannotSave;
    } catch (const NoSuchSim&) {
        return 1;
    }
    // What a command reports is true only once it is saved; its reason was logged when met.
    if (app_ && app_->fileProblem()) {
        return kCannotSave;
    }
    target_ << out_.str();
    return code;
}

int QuorvelCtl::dispatch(const CtlArguments& a)
{
    if (a.command == "setup") {
        return setup(a);
    }
    if (a.command == "status" || a.command == "sample") {
        return update(a, a.command == "status");
    }
    if (a.command == "set") {
        return set(a);
    }
    if (a.command == "reset") {
        return reset(a);
    }
    if (a.command == "limits") {
        return limits(a);
    }
    if (a.command == "interfaces") {
        return CtlInterfaces::run(a, out_, err_, [this]() -> CAppController& { start(); return *app_; });
    }
    if (a.command == "export") {
        return exportDays(a);
    }
    if (a.command == "import") {
        return CtlImport::run(a, out_, err_, [this]() -> CAppController& {
            start();
            return *app_;
        });
    }
    if (a.command == "plan" || a.command == "addon") {
        const CtlPlan::StartApp startApp = [this]() -> CAppController& {
            start();
            return *app_;
        };
        return a.command == "plan" ? CtlPlan::plan(a, out_, err_, startApp) : CtlPlan::addon(a, out_, err_, startApp);
    }
    if (a.command == "sims") {
        std::unique_ptr<SimCardDirectory> modems = CtlBusServices::simCards();
        return CtlSims::run(a, *modems, out_, err_, [this]() -> CAppController& {
            start();
            return *app_;
        });
    }
    if (a.command == "watch") {
        // Resident: its lines go out as they come, not when it ends.
        return CtlWatch(paths_, target_, err_).run(a, [this] {
            std::string why;
            CtlBusServices::Roaming roaming = CtlBusServices::roamingWatch(&why);
            places_ = roaming.source ? CtlBusServices::locationWatch(&why) : nullptr;
            if (!roaming.source) {
                CtlProblem::say(err_,
                                Translation::fill(_("roaming is not counted and places are not recorded: %s"), {why}));
            } else if (!places_) {
                CtlProblem::say(err_, Translation::fill(_("places are not recorded: %s"), {why}));
            }
            start(std::move(roaming.source));
            return CtlWatch::Sampling{*app_, *queue_, services_->tail(), notifier_, roaming.modems, places_.get()};
        });
    }
    return chart(a);
}

int QuorvelCtl::refuse(const char* message, const std::string& value)
{
    return CtlProblem::refuse(err_, Translation::fill(Translation::tr(message), {value}));
}

int QuorvelCtl::setup(const CtlArguments& a)
{
    const std::string planText = *a.value("--plan");
    const std::string dayText = *a.value("--start-day");
    const std::optional<std::string> usedText = a.value("--used");
    const auto plan = megabytesEntry(planText, true);
    const auto day = StrictEntry::startDay(dayText);
    const auto used = megabytesEntry(usedText.value_or("0"), false);
    if (!plan.value || !day.value || !used.value) {
        return !plan.value ? refuse(kInvalidPlan, plan.why)
               : !day.value ? refuse(kInvalidStartDay, day.why)
                            : refuse(kInvalidUsed, used.why);
    }
    start();
    // A set-up run again changes only what it is given: the used data only with --used. The
    // device's first one ends with it (0 when not given), which also sets the counters'
    // baselines; a SIM's keeps what was counted for it unless --used says otherwise.
    const std::optional<std::string> sim = app_->selectedSim();
    const bool setsUsed = usedText || (!sim && app_->isFirstStart());
    if (setsUsed && !clockCanDate()) {
        return 1;
    }
    // The set-up's own order: plan, start day, then the used data that ends it.
    app_->onResetPlanValue(*plan.value);
    stopUnlessSaved();
    app_->onResetPlanStartDay(*day.value);
    stopUnlessSaved();
    if (sim) {
        app_->finishSimSetUp();
        stopUnlessSaved();
    } else {
        app_->resetWizardFinished();
    }
    if (setsUsed) {
        app_->onResetThisMonthDataInfo(*used.value);
    }
    queue_->drain();
    const std::string planSize = FileSize::formatMemoryStringDot1(*plan.value);
    const std::string usedSoFar = FileSize::formatMemoryStringDot1(app_->pmodule()->getDataUsed());
    const std::string dayNumber = std::to_string(*day.value);
    out_ << (sim ? Translation::fill(_("The SIM \"%s\" is set up: a plan of %s, billing months starting on day %s, "
                                       "%s used so far this month."),
                                     {app_->pmodule()->knownSims().find(*sim)->record.displayName(), planSize, dayNumber,
                                      usedSoFar})
                 : Translation::fill(_("Quorvel is set up: a plan of %s, billing months starting on day %s, %s used so "
                                       "far this month."),
                                     {planSize, dayNumber, usedSoFar}))
         << "\n";
    // Counting in the background is on from the set-up on; `watch --autostart off` turns it off.
    if (AutostartEntry(paths_.autostartEntry).install(ProgramPath::self())) {
        out_ << _("Counting in the background starts at the next login (or now: quorvelctl watch).") << "\n";
    }
    return 0;
}

bool QuorvelCtl::clockCanDate()
{
    if (app_->pmodule()->history().clockIsPlausible()) {
        return true;
    }
    CtlProblem::say(
        err_, Translation::fill(
                  _("the clock says %s, before the days already counted; set the clock first. Nothing was changed."),
                  {CtlReport::localDay(services_->env().clock.now())}));
    return false;
}

int QuorvelCtl::update(const CtlArguments& a, bool full)
{
    std::optional<Location> at;
    if (auto text = a.value("--at")) {
        at = parseLocation(*text);
        if (!at) {
            return refuse(N_("invalid location '%s'"), *text);
        }
    }
    start();
    if (!planSetUp()) {
        return 3;
    }
    CtlReport report;
    app_->setUpdateObserver([&](const SharedSummary& summary, bool wasFull) {
        if (summary && summary->pDictionaryResult()) {
            report.booked = true;
        }
        if (summary && wasFull == full) {
            report.summary = summary;
        }
    });
    if (at) {
        at->timestamp = services_->env().clock.now();
        app_->didUpdateToLocation(*at);
    }
    app_->getTrafficInformation(full);
    queue_->drain();
    if (!report.summary) {  // a background sample that found nothing still reports the figures
        report.summary = app_->pmodule()->summaryFigures();
    }
    if (!notifier_.posted().empty()) {
        report.alert = notifier_.posted().back();
    }
    // Each one: the plan's alert and the cut-off it led to come in the same sample.
    for (const LocalNotification& n : notifier_.posted()) {
        std::string why;
        if (a.has("--notify") && !CtlDesktopNotifier::send(n, why)) {
            CtlProblem::say(err_,
                            Translation::fill(_("the alert could not be sent as a desktop notification: %s"), {why}));
        }
    }
    report.today = services_->env().clock.now();
    if (const std::optional<std::string> sim = app_->selectedSim()) {
        report.sim = app_->pmodule()->knownSims().find(*sim)->record;
    }
    report.held = app_->pmodule()->history().sampler().heldTraffic();
    CtlSims::sayWhichAreNotSetUp(app_->pmodule()->knownSims(), err_);
    if (a.has("--oneline") || a.has("--waybar")) {
        if (report.alert) {  // a bar reads only standard output; the alert is raised once, so say it
            err_ << AlertWords::translated(report.alert->title) << ": " << AlertWords::translated(report.alert->body)
                 << "\n";
        }
        return statusLine(a, report.summary);
    }
    if (a.has("--json")) {
        out_ << report.toJson().dump(2) << "\n";
    } else {
        out_ << report.toText(full);
    }
    return 0;
}

int QuorvelCtl::statusLine(const CtlArguments& a, SharedSummary summary)
{
    const auto line = [&](const FTrafficDataInformation& s) {
        const Date today = services_->env().clock.now();
        return a.has("--waybar") ? CtlStatusLine::waybar(s, today) : CtlStatusLine::oneLine(s, today);
    };
    if (!a.has("--watch")) {
        out_ << line(*summary) << "\n";
        return 0;
    }
    // Set up before the first line is out: whatever is saved after it is seen.
    CtlStateWatch watch(paths_.stateFile);
    std::string shown;
    while (watch.error().empty()) {
        if (std::string text = line(*summary); text != shown) {
            target_ << text << "\n" << std::flush;  // each line as it comes, not at the end
            shown = std::move(text);
        }
        const CtlStateWatch::Event e = watch.next();
        if (e == CtlStateWatch::Event::Stopped) {
            return 0;
        }
        if (e == CtlStateWatch::Event::Changed) {
            start();  // reads the new state; only the sampling commands write it
            summary = storedSummary();
        }
    }
    CtlProblem::say(err_, watch.error());
    return 4;
}

SharedSummary QuorvelCtl::storedSummary()
{
    const CTrafficManager& m = *app_->pmodule();
    std::shared_ptr<FTrafficDataInformation> summary = m.summaryFigures();
    summary->setMonths(m.billingMonths());
    summary->setYearTotals(m.yearTotals());
    return summary;
}

int QuorvelCtl::set(const CtlArguments& a)
{
    const std::string& what = a.words[0];
    const std::string& text = a.words[1];
    if (what == "plan") {
        const auto plan = megabytesEntry(text, true);
        if (!plan.value) {
            return refuse(kInvalidPlan, plan.why);
        }
        start();
        app_->onResetPlanValue(*plan.value);
        const bool monthly = app_->pmodule()->planShape().kind() == PlanShape::Kind::Monthly;
        out_ << Translation::fill(monthly ? _("Monthly plan: %s") : _("Plan per period: %s"),
                                  {FileSize::formatMemoryStringDot1(*plan.value)})
             << "\n";
    } else if (what == "start-day") {
        const auto day = StrictEntry::startDay(text);
        if (!day.value) {
            return refuse(kInvalidStartDay, day.why);
        }
        start();
        app_->onResetPlanStartDay(*day.value);
        out_ << Translation::fill(_("Billing months start on day %s"), {std::to_string(*day.value)}) << "\n";
    } else {
        const auto used = megabytesEntry(text, false);
        if (!used.value) {
            return refuse(kInvalidUsed, used.why);
        }
        start();
        if (!clockCanDate()) {
            return 1;
        }
        app_->onResetThisMonthDataInfo(*used.value);
        out_ << Translation::fill(_("Used this month: %s"), {FileSize::formatMemoryStringDot1(*used.value)}) << "\n";
    }
    queue_->drain();
    return 0;
}

int QuorvelCtl::reset(const CtlArguments& a)
{
    start();
    if (a.words[0] == "locations") {
        app_->onResetLocations(this);
        out_ << _("Places forgotten.") << "\n";
    } else {
        app_->onResetPrevMonthsInfo(this);
        out_ << _("Previous months forgotten.") << "\n";
    }
    queue_->drain();
    return 0;
}

int QuorvelCtl::limits(const CtlArguments& a)
{
    using Switch = CAppController::AlertSwitch;
    struct Named {
        const char* option;
        Switch which;
        const char* refusal;
    };
    const Named kSwitches[] = {{"--day", Switch::Day, N_("invalid day switch '%s'")},
                               {"--month", Switch::Month, N_("invalid month switch '%s'")},
                               {"--overbound", Switch::Overbound, N_("invalid overbound switch '%s'")}};
    std::vector<std::pair<Switch, bool>> changes;
    for (const auto& [option, which, refusal] : kSwitches) {
        if (auto text = a.value(option)) {
            const auto on = onOff(*text);
            if (!on) {
                return refuse(refusal, *text);
            }
            changes.emplace_back(which, *on);
        }
    }
    std::optional<bool> cutoff;
    if (auto text = a.value("--cutoff")) {
        cutoff = onOff(*text);
        if (!cutoff) {
            return refuse(N_("invalid cutoff switch '%s'"), *text);
        }
    }
    std::optional<bool> places;
    if (auto text = a.value("--places")) {
        places = onOff(*text);
        if (!places) {
            return refuse(N_("invalid places switch '%s'"), *text);
        }
    }
    start();
    if (cutoff && *cutoff) {
        // Checked before anything changes: a switch that cannot act must not look on.
        if (std::optional<std::string> why = services_->env().mobileData->unavailable()) {
            CtlProblem::say(
                err_,
                Translation::fill(_("mobile data cannot be turned off at the plan: %s; nothing was changed"), {*why}));
            return 1;
        }
    }
    for (const auto& [which, on] : changes) {
        app_->setAlertSwitch(which, on);
        stopUnlessSaved();
    }
    if (cutoff) {
        app_->setCutoffAtPlan(*cutoff);
    }
    if (places) {
        app_->setRecordPlaces(*places);
    }
    if (!changes.empty() || cutoff || places) {
        return 0;
    }
    const auto word = [](bool on) { return std::string(on ? _("on") : _("off")); };
    out_ << Translation::fill(_("Daily limit %s, monthly limit %s, data limit exceeding %s, mobile data off at the "
                                "plan %s, record places %s"),
                              {word(app_->alertSwitch(Switch::Day)), word(app_->alertSwitch(Switch::Month)),
                               word(app_->alertSwitch(Switch::Overbound)), word(app_->cutoffAtPlan()),
                               word(app_->recordPlaces())})
         << "\n";
    for (const auto& limit : app_->pmodule()->limits()) {
        out_ << CtlLimitText::line(*limit) << "\n";
    }
    return 0;
}

int QuorvelCtl::exportDays(const CtlArguments& a)
{
    start();
    if (a.has("--json")) {
        out_ << HistoryExport::json(*app_).dump(2) << "\n";
    } else {
        HistoryExport::csv(app_->pmodule()->history(), out_);
    }
    return 0;
}

int QuorvelCtl::chart(const CtlArguments& a)
{
    if (!makeChart_) {
        return CtlChartModule::run(paths_, argv_, target_, err_);
    }
    const std::unique_ptr<CtlChartCommand> chart = makeChart_();
    if (!chart->parse(a, err_)) {
        return 1;
    }
    start();
    SharedSummary summary;
    if (app_->planSetUp()) {  // before the set-up there is no summary: the empty page
        summary = storedSummary();
    }
    return chart->render(summary, out_, err_);
}

}  // namespace quorvel
