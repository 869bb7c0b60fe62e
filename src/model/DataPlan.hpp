// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/AddonPack.hpp"
#include "model/PlanShape.hpp"

namespace quorvel {

class ArchiveEncoder;
class ArchiveDecoder;

// What the user set about the plan beyond its size and monthly start day: its shape, the packs
// bought on top, whether unused plan data rolls over (and what the last ended period gave), and
// the free hours. A state without it is a monthly plan with none of these.
class DataPlan {
public:
    static constexpr std::string_view kClassName = "DataPlan";
    static constexpr std::size_t kMaxPacks = 100;

    // A daily window whose traffic the carrier does not charge, in minutes after midnight; it
    // may cross midnight, and is never empty.
    struct FreeHours {
        int start;
        int end;
        bool contains(int minute) const;
        // Seconds from a local time of day to the window's next start or end (at least 1).
        int secondsToNextEdge(int hour, int minute, int second) const;
        // "HH:MM-HH:MM" naming a window that is not empty; the command line and the settings
        // read the same.
        static std::optional<FreeHours> parse(std::string_view text);
        // "HH:MM" of a 24-hour clock, as minutes after midnight.
        static std::optional<int> parseMinute(std::string_view hhmm);
        static std::string minuteText(int minute);
        std::string text() const { return minuteText(start) + "-" + minuteText(end); }
        friend bool operator==(const FreeHours&, const FreeHours&) = default;
    };
    // Rollover given to one period: its key (PlanPeriod::key) and the bytes.
    struct Rollover {
        int period;
        std::uint64_t bytes;
    };

    // None: monthly from the manager's start day, as every state before shapes.
    const std::optional<PlanShape>& shape() const { return shape_; }
    void setShape(std::optional<PlanShape> shape) { shape_ = std::move(shape); }

    const std::vector<AddonPack>& packs() const { return packs_; }
    void addPack(const AddonPack& pack);
    // Index from 0; the caller checks it against packs().size().
    void removePack(std::size_t index);

    bool rolloverOn() const { return rolloverSince_.has_value(); }
    // The period in which rollover was switched on: the first to give rollover.
    std::optional<int> rolloverSince() const { return rolloverSince_; }
    void setRollover(std::optional<int> sincePeriod);
    const std::optional<Rollover>& storedRollover() const { return stored_; }
    void storeRollover(Rollover r) { stored_ = r; }

    const std::optional<FreeHours>& freeHours() const { return freeHours_; }
    void setFreeHours(std::optional<FreeHours> hours);

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& coder) const;
    // Refuses (ArchiveError) a shape it does not know or values no command could have set: a
    // half-understood plan would give wrong figures.
    static std::unique_ptr<DataPlan> initWithCoder(ArchiveDecoder& coder);

private:
    std::optional<PlanShape> shape_;
    std::vector<AddonPack> packs_;
    std::optional<int> rolloverSince_;
    std::optional<Rollover> stored_;
    std::optional<FreeHours> freeHours_;
};

}  // namespace quorvel
