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
    std::optional<std::string> checkTrafficForLimit(const CPlanProtocol* p) const override;
    void checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const override;
    std::string_view className() const override { return kClassName; }
};

}  // namespace quorvel
