// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CTrafficLimitBase.hpp"

#include <cmath>
#include <limits>

#include "model/CPlanProtocol.hpp"
#include "model/CTrafficLimitDay.hpp"
#include "model/CTrafficLimitMonth.hpp"
#include "model/CTrafficLimitOverbound.hpp"
#include "model/UsageFigures.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {

CTrafficLimitBase::CTrafficLimitBase(double level, CPlanProtocol* plan) : pkLevel_(level), pPlan_(plan) {}

std::uint64_t CTrafficLimitBase::signalLevelFor(std::uint64_t planAmount) const
{
    const double bytes = static_cast<double>(planAmount) * level();
    if (!(bytes > 0.0)) {
        return 0;  // also NaN from a damaged level
    }
    if (bytes >= 18446744073709551616.0) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(bytes);
}

std::int32_t CTrafficLimitBase::percentOf(std::uint64_t used, std::uint64_t plan)
{
    const double pct = static_cast<double>(used) * 100.0 / static_cast<double>(plan);
    if (std::isnan(pct)) {
        return 0;
    }
    if (pct >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (pct <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(pct);
}

std::uint64_t CTrafficLimitBase::getPlanSignalLevel() const
{
    return pPlan_ != nullptr ? signalLevelFor(pPlan_->getMonthPlan()) : 0;
}

std::optional<std::string> CTrafficLimitBase::checkTrafficForLimit(const CPlanProtocol* p) const
{
    return p != nullptr ? textFor(p->usageFigures(), p->getTrafficToday()) : std::nullopt;
}

void CTrafficLimitBase::checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const
{
    if (p != nullptr) {
        checkUsage(p->usageFigures(), p->getTrafficToday(), d);
    }
}

std::optional<std::string> CTrafficLimitBase::textFor(const UsageFigures&, const CTrafficPoint*) const
{
    return std::nullopt;
}

void CTrafficLimitBase::checkUsage(const UsageFigures& f, const CTrafficPoint* today, LimitResult* d) const
{
    if (d == nullptr) {
        return;
    }
    std::optional<std::string> text = textFor(f, today);
    if (reported(text)) {
        record(std::move(*text), today, *d);
    }
}

// A limit without a key of its own in the findings records nothing; the others override this.
void CTrafficLimitBase::record(std::string, const CTrafficPoint*, LimitResult&) const {}

void CTrafficLimitBase::encodeWithCoder(ArchiveEncoder& coder) const
{
    coder.encodeDouble("pkLevel", pkLevel_);
}

std::unique_ptr<CTrafficLimitBase> CTrafficLimitBase::initWithCoder(ArchiveDecoder& coder)
{
    std::unique_ptr<CTrafficLimitBase> limit;
    const std::string_view cls = coder.className();
    if (cls == CTrafficLimitDay::kClassName) {
        limit = std::make_unique<CTrafficLimitDay>(0.0, nullptr);
    } else if (cls == CTrafficLimitMonth::kClassName) {
        limit = std::make_unique<CTrafficLimitMonth>(0.0, nullptr);
    } else if (cls == CTrafficLimitOverbound::kClassName) {
        limit = std::make_unique<CTrafficLimitOverbound>(0.0, nullptr);
    } else if (cls == kClassName) {
        limit = std::make_unique<CTrafficLimitBase>(0.0, nullptr);
    } else {
        return nullptr;
    }
    limit->setPkLevel(coder.decodeDouble("pkLevel"));
    return limit;
}

}  // namespace quorvel
