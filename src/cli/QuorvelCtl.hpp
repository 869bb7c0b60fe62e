// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <iosfwd>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CtlArguments.hpp"
#include "cli/CtlChartCommand.hpp"
#include "cli/CtlNotifier.hpp"
#include "platform/Paths.hpp"
#include "model/SharedSummary.hpp"

namespace quorvel {

class CAppController;
class SystemServices;
class ManualQueue;
class NoBackgroundTasks;
class FollowedLocationSource;
class RoamingSource;

// quorvelctl: the model behind a command line, on the same files as the application.
// Exit codes: 0 done, 1 a value was refused (nothing changed), 2 usage, 3 not set up yet,
// 4 a file cannot be opened or saved (the reason on standard error).
class QuorvelCtl {
public:
    // Without a chart renderer, `chart` runs in the chart module (see CtlChartModule).
    using ChartMaker = std::function<std::unique_ptr<CtlChartCommand>()>;
    QuorvelCtl(const Paths& paths, std::ostream& out, std::ostream& err, ChartMaker makeChart = {});
    ~QuorvelCtl();

    int run(const std::vector<std::string>& argv);

private:
    int dispatch(const CtlArguments& a);
    int setup(const CtlArguments& a);
    int update(const CtlArguments& a, bool full);
    // Whether the clock can date a change of the used data; says why not on standard error.
    bool clockCanDate();
    int statusLine(const CtlArguments& a, SharedSummary summary);
    SharedSummary storedSummary();
    int set(const CtlArguments& a);
    int reset(const CtlArguments& a);
    int limits(const CtlArguments& a);
    int exportDays(const CtlArguments& a);
    int chart(const CtlArguments& a);
    static constexpr int kCannotSave = 4;

    // `message` is an English text, marked for translation, whose "%s" takes the refused value or
    // the reason it was refused.
    int refuse(const char* message, const std::string& value);
    // Loads the files; throws when one exists but cannot be opened, before anything changes.
    // Only a resident sampler brings a source of roaming.
    void start(std::unique_ptr<RoamingSource> roaming = nullptr);
    // The plan the command acts on: the SIM `--sim` names (throws when none or several are
    // meant, having said so), else the active SIM's when it is set up, else the device's.
    void choosePlan();
    // Says, when the chosen plan is not set up, how to set it up; whether it is.
    bool planSetUp();
    // Throws when the last change could not be saved (it was taken back): a command that fails
    // goes no further, so what it leaves behind is what was there before.
    void stopUnlessSaved() const;

    Paths paths_;
    ChartMaker makeChart_;
    std::vector<std::string> argv_;
    std::optional<std::string> simWord_;
    std::ostream& target_;
    // What the command reports, handed on only when everything it changed was saved.
    std::ostringstream out_;
    std::ostream& err_;
    CtlNotifier notifier_;
    std::unique_ptr<SystemServices> services_;
    std::unique_ptr<ManualQueue> queue_;
    std::unique_ptr<NoBackgroundTasks> tasks_;
    std::unique_ptr<CAppController> app_;
    std::unique_ptr<FollowedLocationSource> places_;  // the watcher's GeoClue client
};

}  // namespace quorvel
