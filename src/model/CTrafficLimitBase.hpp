// SPDX-License-Identifier: GPL-3.0-or-later
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
class CTrafficPoint;
struct UsageFigures;

// A threshold on cellular use: a level (factor) of a plan amount, and the alert text to give
// when it is reached. The base class reaches nothing; the day, month and over-plan limits
// override the text and how a finding is recorded. The checks read one update's figures.
class CTrafficLimitBase {
public:
    static constexpr std::string_view kClassName = "CTrafficLimitBase";

    CTrafficLimitBase(double level, CPlanProtocol* plan);  // initWithLimit:plan:
    virtual ~CTrafficLimitBase() = default;

    // The threshold in bytes: plan amount × level, truncated; saturates instead of overflowing.
    virtual std::uint64_t getPlanSignalLevel() const;
    // The alert text when the threshold is reached, else nothing.
    std::optional<std::string> checkTrafficForLimit(const CPlanProtocol* p) const;
    // Runs the check and records a finding in the result.
    void checkTrafficUsageLimit(const CPlanProtocol* p, LimitResult* d) const;
    // The same on figures already derived; `today` is today's day record (null: none yet).
    virtual std::optional<std::string> textFor(const UsageFigures& f, const CTrafficPoint* today) const;
    void checkUsage(const UsageFigures& f, const CTrafficPoint* today, LimitResult* d) const;

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
    // Keeps a reported finding in the result when it is more serious than the one there.
    virtual void record(std::string text, const CTrafficPoint* today, LimitResult& d) const;
    // plan × level as bytes, saturated to the unsigned 64-bit range.
    std::uint64_t signalLevelFor(std::uint64_t planAmount) const;
    // used × 100 ÷ plan, truncated toward zero, saturated to the signed 32-bit range.
    static std::int32_t percentOf(std::uint64_t used, std::uint64_t plan);
    // A check reports only a present, non-empty text.
    static bool reported(const std::optional<std::string>& text) { return text && !text->empty(); }

private:
    std::optional<double> pkLevel_;
    CPlanProtocol* pPlan_;  // the traffic manager, which owns the limit list
};

}  // namespace quorvel
