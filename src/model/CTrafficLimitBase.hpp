#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/LimitResult.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;
class CPlanProtocol;

// A threshold on cellular use: a level (factor) of a plan amount, and the alert text to give
// when it is reached. The base class reaches nothing; the day, month and over-plan limits
// override the three checks.
class CTrafficLimitBase {
public:
    static constexpr std::string_view kClassName = "CTrafficLimitBase";

    CTrafficLimitBase(double level, CPlanProtocol* plan);  // initWithLimit:plan:
    virtual ~CTrafficLimitBase() = default;

    // The threshold in bytes: plan amount × level, truncated; saturates instead of overflowing.
    virtual std::uint64_t getPlanSignalLevel() const;
    // The alert text when the threshold is reached, else nothing.
    virtual std::optional<std::string> checkTrafficForLimit(const CPlanProtocol* p) const;
    // Runs the check and records a finding in the result.
    virtual void checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const;

    CPlanProtocol* pPlan() const { return pPlan_; }
    void setPPlan(CPlanProtocol* plan) { pPlan_ = plan; }
    std::optional<double> pkLevel() const { return pkLevel_; }
    void setPkLevel(std::optional<double> level) { pkLevel_ = level; }
    double level() const { return pkLevel_.value_or(0.0); }

    virtual std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    // Any of the four limit classes, by the class name the archive holds; null for other classes.
    static std::unique_ptr<CTrafficLimitBase> initWithCoder(ArchiveDecoder& coder);

protected:
    // plan × level as bytes, saturated to the unsigned 64-bit range.
    std::uint64_t signalLevelFor(std::uint64_t planAmount) const;
    // used × 100 ÷ plan, truncated toward zero, saturated to the signed 32-bit range.
    static std::int32_t percentOf(std::uint64_t used, std::uint64_t plan);
    static std::uint64_t leftOf(std::uint64_t used, std::uint64_t plan) { return used < plan ? plan - used : 0; }
    // A check reports only a present, non-empty text.
    static bool reported(const std::optional<std::string>& text) { return text && !text->empty(); }

private:
    std::optional<double> pkLevel_;
    CPlanProtocol* pPlan_;  // the traffic manager, which owns the limit list
};

}  // namespace quorvel
