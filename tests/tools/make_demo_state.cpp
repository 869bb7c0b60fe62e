// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a realistic Quorvel state into the XDG directories of the environment: a 2 GB plan
// starting on the 15th, three calendar months of daily traffic up to today and five places, with
// the set-up done. Screenshots, rendering checks and benchmarks start from it. With --sims it
// also holds two SIMs of a dual-SIM phone, each with a plan of its own and a month of days; with
// --new-sim a SIM seen today that is not set up yet.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DemoDays.hpp"
#include "engine/CAppController.hpp"
#include "model/DateDay.hpp"
#include "platform/Calendar.hpp"
#include "platform/LocalNotifier.hpp"
#include "platform/MainQueue.hpp"
#include "platform/SystemServices.hpp"

namespace {

struct Silent final : quorvel::LocalNotifier {
    void presentLocalNotificationNow(const quorvel::LocalNotification&) override {}
};

// Deterministic day amounts between about 15 and 140 MB, heavier at weekends.
std::uint64_t dayBytes(int i)
{
    const double wave = 0.5 + 0.5 * std::sin(i * 1.7) * std::cos(i * 0.31);
    const double weekend = (i % 7 == 5 || i % 7 == 6) ? 1.6 : 1.0;
    return static_cast<std::uint64_t>((15.0 + 85.0 * wave) * weekend * 1e6) + static_cast<std::uint64_t>(i) * 4321;
}

// Two SIMs as ModemManager reports them, the first active; each set up with its own plan.
void addSims(quorvel::CTrafficManager& m, quorvel::Date now)
{
    using namespace quorvel;
    SimCardList cards(2);
    cards[0] = {"8949020000001234567", "262011234567890", "Tele Nord", "26201", "/m/0", true, {"wwan0"}};
    cards[1] = {"8944110000009876543", "234159876543210", "Travel Mobile", "23415", "/m/0", false, {}};
    m.knownSims().see(cards, now);
    const std::uint64_t plans[] = {5'000'000'000, 1'000'000'000};
    for (std::size_t i = 0; i < 2; ++i) {
        m.knownSims().markSetUp(i);
        CTrafficManager& plan = *m.knownSims().entries()[i].plan;
        plan.setNewPlanValue(plans[i]);
        plan.setPlanStartDay(i == 0 ? 1 : 20);
        const double share = i == 0 ? 1.3 : 0.4;
        test::bookDemoDays(plan.history(), now, [share](int d) {
            return d >= 35 ? static_cast<std::uint64_t>(static_cast<double>(dayBytes(d + 3)) * share) : 0;
        });
    }
}

// A SIM seen today for the first time, not set up, with what was counted for it since.
void addNewSim(quorvel::CTrafficManager& m, quorvel::Date now)
{
    using namespace quorvel;
    m.knownSims().see({{"8933010000005550001", "208015550001000", "Roam Go", "20801", "/m/1", false, {}}}, now);
    CTraffics& history = m.knownSims().entries().back().history();
    history.addNewTrafficPoint(CTrafficPoint::trafficPointWithDate(now.plusSeconds(-60), 12'500'000));
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace quorvel;
    int places = 5;
    bool sims = false;
    bool newSim = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--sims") {
            sims = true;
        } else if (std::string(argv[i]) == "--new-sim") {
            newSim = true;
        } else {
            places = std::atoi(argv[i]);
        }
    }
    Silent silent;
    SystemServices services(Paths::fromEnvironment(), silent);
    ManualQueue queue;
    NoBackgroundTasks tasks;
    CAppController app(services.env(), {queue, tasks, nullptr, nullptr, services.paths().stateLock,
                                        services.paths().debugLog}, nullptr);
    app.initPrefs();
    app.CreateTraffManager();
    app.onResetPlanValue(2'000'000'000);
    app.onResetPlanStartDay(15);
    app.resetWizardFinished();
    app.withStateLock([&](CTrafficManager& m) {
        const Date now = services.env().clock.now();
        quorvel::test::bookDemoDays(m.history(), now, dayBytes);
        const double spots[][2] = {{52.5200, 13.4050}, {52.5163, 13.3777}, {52.5306, 13.3847},
                                   {52.5096, 13.3759}, {52.4862, 13.4245}, {52.5450, 13.3530}};
        const std::uint64_t amounts[] = {1'450'000'000, 320'000'000, 48'000'000, 2'500'000, 6'000, 0};
        for (int p = 0; p < places && p < 6; ++p) {
            auto delta = std::make_shared<DeltaTrafficItem>(now.plusSeconds(-3600 * 5 * p),
                                                            Location{spots[p][0], spots[p][1], 10.0, now}, amounts[p]);
            m.history().restorePlace(delta);
        }
        m.history().setLastLocation(Location{spots[0][0], spots[0][1], 10.0, now});
        if (sims) {
            addSims(m, now);
        }
        if (newSim) {
            addNewSim(m, now);
        }
    });
    std::printf("%s\n", services.paths().stateFile.c_str());
    return 0;
}
