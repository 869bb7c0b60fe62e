// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/CTrafficLimitBase.hpp"

namespace quorvel {

// The billing month's cellular use against the month plan, as an early warning.
class CTrafficLimitMonth final : public CTrafficLimitBase {
public:
    static constexpr std::string_view kClassName = "CTrafficLimitMonth";
    using CTrafficLimitBase::CTrafficLimitBase;
    static std::unique_ptr<CTrafficLimitMonth> createMonthLimit(double level, CPlanProtocol* plan)
    {
        return std::make_unique<CTrafficLimitMonth>(level, plan);
    }

    std::optional<std::string> textFor(const UsageFigures& f, const CTrafficPoint* today) const override;
    std::string_view className() const override { return kClassName; }

protected:
    void record(std::string text, const CTrafficPoint* today, LimitResult& d) const override;
};

}  // namespace quorvel
