// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/CTraffics.hpp"
#include "engine/KnownSims.hpp"
#include "model/CPlanProtocol.hpp"
#include "model/CTrafficLimitBase.hpp"
#include "model/DataPlan.hpp"
#include "model/PlanPeriod.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/LimitResult.hpp"
#include "model/NMDispatcher.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

// The central model: the history, the monthly plan, the plan start day and the usage limits. It
// runs the central update (sample, check limits, build the summary, save, alert), computes the
// billing-month statistics and derives billing-month records from the stored calendar months.
// It is the root of the state file.
class CTrafficManager final : public CPlanProtocol {
public:
    static constexpr std::string_view kClassName = "CTrafficManager";
    static constexpr std::uint64_t kDefaultPlan = 1'000'000'000;

    // The manager from the state file, or a new one with defaults when there is none or it
    // cannot be read (an unreadable file is moved aside).
    static std::unique_ptr<CTrafficManager> createTrafficManager(const Env& env);
    // The state file's manager; throws ArchiveError when the bytes are not one.
    static std::unique_ptr<CTrafficManager> decode(const Env& env, const std::string& bytes);
    CTrafficManager(const Env& env, bool initDefaults);  // initWithDate:startSize:initDefauls:
    // A SIM's plan beside this device's: its own history, plan, alerts and cut-off. It samples,
    // saves and sets the counting through `owner`, the device's manager ("This device"); its
    // limits start as the alert switches are. `subject` names the SIM in its alerts.
    static std::unique_ptr<CTrafficManager> forSim(CTrafficManager& owner, std::unique_ptr<CTraffics> history,
                                                   std::string subject);
    // A SIM's plan as its entry of the state file stores it, beside its history.
    static std::unique_ptr<CTrafficManager> decodeSimPlan(ArchiveDecoder& coder, CTrafficManager& owner,
                                                          std::unique_ptr<CTraffics> history, std::string subject);
    void encodeSimPlan(ArchiveEncoder& coder) const;
    // A SIM's plan taken over with the state another process saved belongs to this process's.
    void belongTo(CTrafficManager& owner)
    {
        QV_REQUIRE(owner_ != nullptr && owner.owner_ == nullptr, "only a SIM's plan belongs to the device's manager");
        owner_ = &owner;
    }
    CTrafficManager(const CTrafficManager&) = delete;
    CTrafficManager& operator=(const CTrafficManager&) = delete;

    // Takes over the persisted state of another manager (read from the file another process
    // wrote), keeping this object, which the screens and limits point at.
    void adoptState(CTrafficManager&& other);
    std::string encode() const;

    // The daily history. The controller's resets and the tests' set-up use its own operations;
    // readers (the export, the screens' summary) take it const.
    CTraffics& history() { return *traffics_; }
    const CTraffics& history() const { return *traffics_; }
    // The usage limits in the order they are checked.
    const std::vector<std::unique_ptr<CTrafficLimitBase>>& limits() const { return limits_; }
    // The billing months of the stored history, as the charts and the export list them.
    FTrafficDataInformation::Months billingMonths() const { return billingMonthsOf(traffics_->months()); }
    // The last twelve calendar months' totals, for the chart tab's year page.
    std::vector<MonthTotal> yearTotals() const;
    // Whether the last summary carried the lists (months, places); for the process only.
    bool fullUpdateDone() const { return fullUpdateDone_; }
    // The screens showed another plan since: the next full summary updates every annotation.
    void screensShowedAnotherPlan() { fullUpdateDone_ = false; }

    // Persistence.
    void saveState() override;

    // The SIMs this device has seen.
    const KnownSims& knownSims() const { return device().sims_; }
    KnownSims& knownSims() { return device().sims_; }
    // Whether this is a SIM's plan; the device's manager otherwise.
    bool isSimPlan() const { return owner_ != nullptr; }
    CTrafficManager& device() { return owner_ != nullptr ? *owner_ : *this; }
    const CTrafficManager& device() const { return owner_ != nullptr ? *owner_ : *this; }
    // A renamed SIM's alerts say the new name.
    void setAlertSubject(std::string subject) { dispatcher_->setSubject(std::move(subject)); }
    // Takes over the device's plan, alert history and history ("This device" starts afresh, its
    // counting and places' position kept); what was counted for this SIM is added to the days.
    void takeOverDevicePlan();

    // Plan and start day.
    std::uint64_t getMonthPlan() const override { return pMonthPlan_.value_or(0); }
    std::int32_t getPlanStartDay() const override { return pPlanStartDay_.value_or(0); }
    void setNewPlanValue(std::uint64_t plan) override;
    void setPlanStartDay(std::int32_t day) override;
    void savePlanToPreferences() override;
    std::optional<std::uint64_t> pMonthPlan() const override { return pMonthPlan_; }
    void setPMonthPlan(std::optional<std::uint64_t> plan) override;
    std::optional<std::int32_t> pPlanStartDay() const override { return pPlanStartDay_; }
    void setPPlanStartDay(std::optional<std::int32_t> day) override { pPlanStartDay_ = day; }
    std::optional<Location> pLastLocation() const override { return device().traffics_->lastLocation(); }
    void setPLastLocation(std::optional<Location> location) override;

    // The plan's shape, packs, rollover and free hours. The shape in force: monthly from the
    // start day unless another was set; `setPlanStartDay` makes it monthly again.
    PlanShape planShape() const;
    const DataPlan& dataPlan() const { return dataPlan_; }
    void setPlanShape(const PlanShape& shape);
    // The billing period of today, from which every period figure is derived.
    PlanPeriod currentPeriod() const;
    LocalDay currentDay() const;
    void addPack(const AddonPack& pack);
    void removePack(std::size_t index);
    void setRollover(bool on);
    void setFreeHours(std::optional<DataPlan::FreeHours> hours);
    // The period's allowance as it stands now: plan, rollover, packs and what is left of each.
    Allowance::Result allowanceNow() const;
    // Rollover the current period received (0 without rollover).
    std::uint64_t rolloverForPeriod(const PlanPeriod& period) const;

    // Limits.
    void setDayLimit(bool on) override;
    void setMonthLimit(double level) override;
    void setOverBoundLimit(bool on) override;
    template <class Kind>
    std::int32_t removeLimitElementsOfClass()
    {
        static_assert(std::is_base_of_v<CTrafficLimitBase, Kind>);
        return static_cast<std::int32_t>(std::erase_if(
            limits_, [](const auto& l) { return l == nullptr || dynamic_cast<const Kind*>(l.get()) != nullptr; }));
    }
    void initLimitsWithSelf();
    // Limits as the alert switches in the defaults have them, for a state that lost its list.
    void restoreLimitsFromSwitches();
    void limitsFromSwitches();
    void resetAllLimits() { limits_.clear(); }

    // History pass-throughs.
    void resetAllTrafficPoints() { traffics_->resetTrafficPoints(); }
    void resetTrafficsWithInit(std::int32_t dayCount, std::uint64_t bytes, std::int32_t startDay)
    {
        traffics_->reinitTrafficPointsSinceToday(dayCount, bytes, startDay);
        rearmCutoff(usageFigures());
    }
    // The user's figure for the current billing period: spread over its days while nothing in it
    // was measured, otherwise kept as the period's one correction (none when it equals what was
    // booked); no measured byte changes. False, with nothing changed, under an implausible clock.
    bool correctUsedData(std::uint64_t used);
    void resetLocations() override { traffics_->resetLocations(); }
    void resetPrevMonthsInfo() override { traffics_->resetPrevMonthsInfo(); }
    std::int32_t getLocationsCount() const override { return traffics_->getLocationsCount(); }
    const CTrafficPoint* getTrafficToday() const override { return traffics_->getTrafficToday(); }

    // Counted interfaces, as the command line and the settings list and change them.
    std::vector<InterfaceState> interfaceReport() { return sampler().interfaceReport(); }
    // true counts the interface from now on (none of its traffic so far), false ignores it,
    // none gives it back to detection.
    void setInterfaceChoice(const std::string& name, std::optional<bool> count);
    void setCountMetered(bool on)
    {
        sampler().setCountMetered(on);
        sampler().baselineNewlyCounted();
    }
    bool countMetered() const { return device().traffics_->sampler().choices().countMetered; }

    // Mobile data off at the plan: the user's switch, and the billing period (its first day's
    // DateDay::dayKey) in which it was last cut off, which keeps it from happening twice.
    bool cutoffAtPlan() const { return cutoffAtPlan_; }
    void setCutoffAtPlan(bool on) { cutoffAtPlan_ = on; }
    std::optional<int> cutoffPeriod() const { return cutoffPeriod_; }

    // The update.
    std::optional<LimitResult> checkTraffic(bool ignored, TCResult* result);
    std::shared_ptr<FTrafficDataInformation> updateTrafficInformation(bool full);
    // The billing-month figures of a summary as they stand now, without lists or results.
    std::shared_ptr<FTrafficDataInformation> summaryFigures() const;
    // The billing period's figures as they stand now (the history summed once).
    UsageFigures usageFigures() const override;
    void tryShowOverUsageNotifications(const FTrafficDataInformation* summary);

    // Billing calendar around today.
    int getDaysInPrevMonth() const;
    int getDaysInNextMonth() const;
    int getDayCountInBillingMonth(Date date) const;
    std::uint64_t getDayPlan() const override;
    Date getFirstBillingDayForDate(Date date) const;
    Date getLastBillingDayForStartDay(Date date) const;
    static const MonthTraffic* getMonthTrafficForDate(Date date,
                                                      const std::vector<std::unique_ptr<MonthTraffic>>& months);
    FTrafficDataInformation::Months billingMonthsOf(
        const std::vector<std::unique_ptr<MonthTraffic>>& months) const;

    // Statistics of the current billing month.
    std::uint64_t getDataUsed() const override;
    std::int64_t getDataLeft() const;
    std::int32_t getDaysUsed() const;
    std::int32_t getDaysLeft() const;
    std::uint64_t getDataTodayUsed() const { return traffics_->getTrafficTodayCount(); }
    std::uint64_t getAvgDayDataUsed() const;
    std::int64_t getAvgDayDataLeft() const;
    std::uint64_t getDataUsingEstimation() const;
    // The part of the billing month's use that was booked while roaming.
    std::uint64_t getRoamingUsed() const;
    void setThresholdKoeff(double, double) {}  // described as ignored: the thresholds are the limits' own

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTrafficManager> initWithCoder(ArchiveDecoder& coder);

private:
    // The samples' bytes on a SIM's links go to that SIM's history.
    void wireRoute();
    // The counters are the device's: one sampler for every plan.
    CTrafficObtainer& sampler() { return device().traffics_->sampler(); }
    bool sampleNow(TCResult* result) { return device().traffics_->getNewTraffic(result); }
    // The plans one sample is booked to: the device's, then each set-up SIM's.
    std::vector<CTrafficManager*> plans();
    // What one sample means for one plan: its figures, findings and whether it cuts off now.
    struct SampleCheck {
        UsageFigures figures;
        std::optional<LimitResult> dict;
        bool cutNow = false;
    };
    SampleCheck checkSample(bool booked);
    // The update as the device's manager runs it for every plan; the summary is `shown`'s.
    std::shared_ptr<FTrafficDataInformation> updateFor(CTrafficManager& shown, bool full);
    // The links this plan's cut-off ends: a SIM's own, the device's counted ones.
    std::vector<std::string> cutoffLinks();
    friend class ManagerArchive;
    Date now() const;
    std::int32_t startDay() const;
    Allowance::Result allowanceOf(const PlanPeriod& period, LocalDay today, std::uint64_t rollover) const;
    // Stores, once per period, what the period before left of its plan.
    void settleRollover();
    // The history keeps the months the current period (and the one before, for rollover) reach.
    void keepHistoryForPeriod();
    // A change of the plan: saved to the defaults, alerts and the cut-off rearmed.
    void planChanged();
    std::optional<LimitResult> checkLimits(const UsageFigures& figures) const;
    // One share of the day records summed over the current billing period.
    std::uint64_t usedInPeriod(CTraffics::Share share) const;
    std::shared_ptr<FTrafficDataInformation> summaryOf(const UsageFigures& figures) const;
    PlanFacts planFacts(const UsageFigures& figures) const;
    int billingPeriodKey() const;
    // Whether this update reached the plan with the cut-off armed; marks the period when it did.
    bool markCutoff(const UsageFigures& figures);
    // A cut-off mark that no longer holds (new period, use below the plan) is dropped.
    void rearmCutoff(const UsageFigures& figures);

    std::unique_ptr<CTraffics> traffics_;
    std::vector<std::unique_ptr<CTrafficLimitBase>> limits_;
    std::unique_ptr<NMDispatcher> dispatcher_;
    bool fullUpdateDone_ = false;
    std::optional<std::uint64_t> pMonthPlan_;
    std::optional<std::int32_t> pPlanStartDay_;
    DataPlan dataPlan_;
    bool cutoffAtPlan_ = false;
    std::optional<int> cutoffPeriod_;
    KnownSims sims_;
    CTrafficManager* owner_ = nullptr;  // the device's manager, for a SIM's plan
    const Env* env_;
    std::mutex locationLock_;
};

}  // namespace quorvel
