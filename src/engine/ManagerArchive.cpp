// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ManagerArchive.hpp"

#include <limits>

#include "engine/CTrafficManager.hpp"
#include "engine/DefaultsSchema.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"
#include "platform/Env.hpp"

namespace quorvel {

void ManagerArchive::encodeDevice(const CTrafficManager& m, ArchiveEncoder& coder)
{
    coder.encodeUInt64("pMonthPlan", m.pMonthPlan_);
    coder.encodeObject("pTraffics", m.traffics_.get());
    encodePlanAfterHistory(m, coder);
    m.sims_.encodeWithCoder(coder);
}

void ManagerArchive::encodeSimPlan(const CTrafficManager& m, ArchiveEncoder& coder)
{
    coder.encodeUInt64("pMonthPlan", m.pMonthPlan_);
    encodePlanAfterHistory(m, coder);
    coder.encodeString("AlertHistory", m.dispatcher_->dictrops().dump());
}

void ManagerArchive::encodePlanAfterHistory(const CTrafficManager& m, ArchiveEncoder& coder)
{
    coder.encodeObjects("pLimits", m.limits_);
    coder.encodeInt64("pPlanStartDay", m.pPlanStartDay_);
    coder.encodeBool("CutoffAtPlan", m.cutoffAtPlan_);
    coder.encodeInt64("CutoffPeriod", m.cutoffPeriod_ ? std::optional<std::int64_t>(*m.cutoffPeriod_) : std::nullopt);
    coder.encodeObject("pDataPlan", &m.dataPlan_);
}

std::unique_ptr<CTrafficManager> ManagerArchive::decodeSimPlan(ArchiveDecoder& coder, CTrafficManager& owner,
                                                               std::unique_ptr<CTraffics> history, std::string subject)
{
    std::unique_ptr<CTrafficManager> m = CTrafficManager::forSim(owner, std::move(history), std::move(subject));
    m->pMonthPlan_ = coder.decodeUInt64("pMonthPlan").value_or(CTrafficManager::kDefaultPlan);
    m->traffics_->setPMonthPlan(m->pMonthPlan_);
    decodePlanAfterHistory(*m, coder);
    if (std::optional<std::string> text = coder.decodeString("AlertHistory")) {
        const nlohmann::json stored = nlohmann::json::parse(*text, nullptr, false);
        if (stored.is_discarded() || DefaultsSchema::checkAlertHistory(stored)) {
            coder.fail("AlertHistory", "a SIM's alert history");
        }
        m->dispatcher_ = std::make_unique<NMDispatcher>(stored, m->dispatcher_->subject(), owner.env_->notifier,
                                                        owner.env_->clock);
    }
    m->keepHistoryForPeriod();
    m->initLimitsWithSelf();
    return m;
}

std::unique_ptr<CTrafficManager> ManagerArchive::decodeDevice(ArchiveDecoder& coder)
{
    QV_REQUIRE(coder.env() != nullptr, "decoding a manager needs a decoder made with the platform services");
    auto m = std::make_unique<CTrafficManager>(*coder.env(), false);
    m->pMonthPlan_ = coder.decodeUInt64("pMonthPlan");
    auto history = coder.decodeObject<CTraffics>("pTraffics");
    if (!history) {
        coder.fail("pTraffics", "the history");  // always written: a state without it was damaged
    }
    m->traffics_ = std::move(history);
    decodePlanAfterHistory(*m, coder);
    m->wireRoute();
    m->sims_.decode(coder);
    m->traffics_->sampler().setFreeHours(m->dataPlan_.freeHours());
    m->keepHistoryForPeriod();
    m->initLimitsWithSelf();
    return m;
}

void ManagerArchive::decodePlanAfterHistory(CTrafficManager& m, ArchiveDecoder& coder)
{
    m.limits_.clear();
    const bool limits = coder.decodeObjects("pLimits", [&](ArchiveDecoder& limit) {
        if (auto l = CTrafficLimitBase::initWithCoder(limit)) {
            m.limits_.push_back(std::move(l));
        }  // entries that are not limits are skipped
    });
    if (!limits) {
        m.restoreLimitsFromSwitches();
    }
    const std::optional<std::int64_t> day = coder.decodeInt64("pPlanStartDay");
    // No start day, or one no billing month can start on, becomes the 1st.
    m.pPlanStartDay_ = day && *day >= 1 && *day <= 31 ? static_cast<std::int32_t>(*day) : 1;
    // Files from before the cut-off existed: off, never cut.
    m.cutoffAtPlan_ = coder.decodeBool("CutoffAtPlan").value_or(false);
    const std::optional<std::int64_t> cut = coder.decodeInt64("CutoffPeriod");
    if (cut && (*cut < 0 || *cut > std::numeric_limits<int>::max())) {
        coder.fail("CutoffPeriod", "the first day of a billing period");
    }
    m.cutoffPeriod_ = cut ? std::optional<int>(static_cast<int>(*cut)) : std::nullopt;
    if (std::unique_ptr<DataPlan> plan = coder.decodeObject<DataPlan>("pDataPlan")) {
        m.dataPlan_ = std::move(*plan);  // absent in older files: a monthly plan, nothing more
    }
}

}  // namespace quorvel
