// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/CTrafficLimitBase.hpp"

namespace quorvel {

// Today's cellular use against the day plan.
class CTrafficLimitDay final : public CTrafficLimitBase {
public:
    static constexpr std::string_view kClassName = "CTrafficLimitDay";
    using CTrafficLimitBase::CTrafficLimitBase;
    static std::unique_ptr<CTrafficLimitDay> createDayLimit(double level, CPlanProtocol* plan)
    {
        return std::make_unique<CTrafficLimitDay>(level, plan);
    }

    std::uint64_t getPlanSignalLevel() const override;
    std::optional<std::string> textFor(const UsageFigures& f, const CTrafficPoint* today) const override;
    std::string_view className() const override { return kClassName; }

protected:
    void record(std::string text, const CTrafficPoint* today, LimitResult& d) const override;
};

}  // namespace quorvel
