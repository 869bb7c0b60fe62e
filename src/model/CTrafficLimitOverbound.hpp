// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "model/CTrafficLimitBase.hpp"

namespace quorvel {

// The billing month's cellular use at or above a multiple of the month plan.
class CTrafficLimitOverbound final : public CTrafficLimitBase {
public:
    static constexpr std::string_view kClassName = "CTrafficLimitOverbound";
    using CTrafficLimitBase::CTrafficLimitBase;
    static std::unique_ptr<CTrafficLimitOverbound> createOverBoundLimit(double level, CPlanProtocol* plan)
    {
        return std::make_unique<CTrafficLimitOverbound>(level, plan);
    }

    std::optional<std::string> textFor(const UsageFigures& f, const CTrafficPoint* today) const override;
    std::string_view className() const override { return kClassName; }

protected:
    void record(std::string text, const CTrafficPoint* today, LimitResult& d) const override;
};

}  // namespace quorvel
