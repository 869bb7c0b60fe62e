#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "model/CTrafficPoint.hpp"
#include "platform/Date.hpp"

namespace quorvel {

struct Env;
class ArchiveEncoder;
class ArchiveDecoder;

// The counter sampler: the only place where traffic is measured. It sums the byte counters of
// the cellular interfaces, books the growth since the previous sample into today's day record
// (a new record on a new day) and recognises counters that started again from zero (restart,
// interface reset, 32-bit wrap) so that no negative or absurd amount is booked.
class CTrafficObtainer {
public:
    static constexpr std::string_view kClassName = "CTrafficObtainer";
    // The baseline that says no sample was taken yet.
    static constexpr std::int64_t kNoBaseline = -1;

    // What one sample did with the latest record it was given.
    struct Increment {
        enum class Kind {
            Nothing,     // no record was given and nothing was booked
            SameRecord,  // the given record, possibly with more bytes
            NewRecord,   // a new day: `point` is the new record
        };
        Kind kind = Kind::Nothing;
        CTrafficPoint point;
    };

    CTrafficObtainer(const Env& env, std::optional<Date> date, std::int64_t startSize, double sWTime);  // initWithDate:startSize:sWTime:

    std::optional<Date> prevShotDate;
    std::optional<std::int64_t> prevTrafficSize;
    std::optional<double> sysWorkTime;

    // Received plus sent bytes of every cellular interface; 0 when the list cannot be read.
    std::int64_t obtainAllTraffic() const;
    // One sample, booked into `latest` (this month's latest day record, or null).
    Increment getTrafficIncrementPoint(CTrafficPoint* latest);
    // Takes the current total as the baseline, so that what the counters hold is not booked.
    void ResetObtainerCounter();
    void dataUsageChanged();

    // Whether an interface of this name carries cellular data.
    static bool isCellularInterface(std::string_view name);

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    static std::unique_ptr<CTrafficObtainer> initWithCoder(ArchiveDecoder& coder);

private:
    const Env* env_;
};

}  // namespace quorvel
