// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DataPlan.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"
#include "platform/Assert.hpp"

namespace quorvel {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

bool isMinute(std::optional<std::int64_t> v)
{
    return v && *v >= 0 && *v < kMinutesPerDay;
}

LocalDay dayAt(ArchiveDecoder& coder, std::string_view key)
{
    const std::optional<std::int64_t> v = coder.decodeInt64(key);
    const std::optional<LocalDay> d = v ? LocalDay::fromKey(static_cast<long>(*v)) : std::nullopt;
    if (!d) {
        coder.fail(key, "a day as YYYYMMDD");
    }
    return *d;
}

PlanShape decodeShape(ArchiveDecoder& coder, PlanShape::Kind kind)
{
    switch (kind) {
    case PlanShape::Kind::Monthly: {
        const std::optional<std::int64_t> s = coder.decodeInt64("StartDay");
        if (!s || *s < 1 || *s > 31) {
            coder.fail("StartDay", "a start day 1..31");
        }
        return PlanShape::monthly(static_cast<int>(*s));
    }
    case PlanShape::Kind::Every: {
        const std::optional<std::int64_t> n = coder.decodeInt64("Every");
        if (!n || *n < 1 || *n > PlanShape::kMaxEveryDays) {
            coder.fail("Every", "a period of 1..366 days");
        }
        return PlanShape::every(static_cast<int>(*n), dayAt(coder, "From"));
    }
    case PlanShape::Kind::Daily:
        return PlanShape::daily();
    case PlanShape::Kind::Prepaid: {
        const LocalDay from = dayAt(coder, "From");
        const LocalDay until = dayAt(coder, "Until");
        if (until < from) {
            coder.fail("Until", "a last day not before the first");
        }
        return PlanShape::prepaid(from, until);
    }
    }
    coder.fail("Shape", "a plan shape");
}

}  // namespace

bool DataPlan::FreeHours::contains(int minute) const
{
    return start < end ? minute >= start && minute < end : minute >= start || minute < end;
}

int DataPlan::FreeHours::secondsToNextEdge(int hour, int minute, int second) const
{
    const int now = (hour * 60 + minute) * 60 + second;
    int best = kMinutesPerDay * 60;
    for (int edge : {start, end}) {
        int d = (edge * 60 - now) % (kMinutesPerDay * 60);
        d += d <= 0 ? kMinutesPerDay * 60 : 0;
        best = std::min(best, d);
    }
    return best;
}

std::optional<int> DataPlan::FreeHours::parseMinute(std::string_view hhmm)
{
    const auto digit = [&](std::size_t i) { return hhmm[i] >= '0' && hhmm[i] <= '9' ? hhmm[i] - '0' : -1; };
    if (hhmm.size() != 5 || hhmm[2] != ':' || digit(0) < 0 || digit(1) < 0 || digit(3) < 0 || digit(4) < 0) {
        return std::nullopt;
    }
    const int h = digit(0) * 10 + digit(1);
    const int m = digit(3) * 10 + digit(4);
    return h < 24 && m < 60 ? std::optional<int>(h * 60 + m) : std::nullopt;
}

std::optional<DataPlan::FreeHours> DataPlan::FreeHours::parse(std::string_view text)
{
    if (text.size() != 11 || text[5] != '-') {
        return std::nullopt;
    }
    const std::optional<int> from = parseMinute(text.substr(0, 5));
    const std::optional<int> to = parseMinute(text.substr(6, 5));
    if (!from || !to || *from == *to) {
        return std::nullopt;
    }
    return FreeHours{*from, *to};
}

std::string DataPlan::FreeHours::minuteText(int minute)
{
    QV_REQUIRE(minute >= 0 && minute < kMinutesPerDay, "a minute of the day must lie in 0..1439");
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    return text;
}

void DataPlan::addPack(const AddonPack& pack)
{
    QV_REQUIRE(packs_.size() < kMaxPacks, "the number of packs must be checked before one is added");
    packs_.push_back(pack);
}

void DataPlan::removePack(std::size_t index)
{
    QV_REQUIRE(index < packs_.size(), "a pack's index must be checked against the list before removing it");
    packs_.erase(packs_.begin() + static_cast<std::ptrdiff_t>(index));
}

void DataPlan::setRollover(std::optional<int> sincePeriod)
{
    if (!sincePeriod) {
        stored_.reset();
    } else if (rolloverSince_) {
        return;  // already on: the first period to give rollover stays
    }
    rolloverSince_ = sincePeriod;
}

void DataPlan::setFreeHours(std::optional<FreeHours> hours)
{
    QV_REQUIRE(!hours || (hours->start != hours->end && hours->start >= 0 && hours->start < kMinutesPerDay &&
                          hours->end >= 0 && hours->end < kMinutesPerDay),
               "free hours must be checked to be a window of minutes of the day that is not empty");
    freeHours_ = hours;
}

void DataPlan::encodeWithCoder(ArchiveEncoder& coder) const
{
    if (shape_) {
        coder.encodeString("Shape", std::string(PlanShape::kindName(shape_->kind())));
        coder.encodeInt64("StartDay", shape_->startDay());
        coder.encodeInt64("Every", shape_->everyDays());
        coder.encodeInt64("From", shape_->from().key());
        coder.encodeInt64("Until", shape_->until().key());
    }
    coder.encodeObjects("Packs", packs_);
    coder.encodeInt64("RolloverSince", rolloverSince_ ? std::optional<std::int64_t>(*rolloverSince_) : std::nullopt);
    if (stored_) {
        coder.encodeInt64("RolloverPeriod", stored_->period);
        coder.encodeUInt64("RolloverBytes", stored_->bytes);
    }
    if (freeHours_) {
        coder.encodeInt64("FreeStart", freeHours_->start);
        coder.encodeInt64("FreeEnd", freeHours_->end);
    }
}

std::unique_ptr<DataPlan> DataPlan::initWithCoder(ArchiveDecoder& coder)
{
    auto plan = std::make_unique<DataPlan>();
    if (const std::optional<std::string> name = coder.decodeString("Shape")) {
        const std::optional<PlanShape::Kind> kind = PlanShape::kindNamed(*name);
        if (!kind) {
            coder.fail("Shape", "a plan shape this version knows");
        }
        plan->shape_ = decodeShape(coder, *kind);
    }
    coder.decodeObjects("Packs", [&](ArchiveDecoder& p) {
        if (plan->packs_.size() >= kMaxPacks) {
            p.fail("Packs", "at most 100 packs");
        }
        plan->packs_.push_back(AddonPack::initWithCoder(p));
    });
    if (const std::optional<std::int64_t> since = coder.decodeInt64("RolloverSince")) {
        if (!LocalDay::fromKey(static_cast<long>(*since))) {
            coder.fail("RolloverSince", "a period's first day");
        }
        plan->rolloverSince_ = static_cast<int>(*since);
    }
    const std::optional<std::int64_t> period = coder.decodeInt64("RolloverPeriod");
    const std::optional<std::uint64_t> bytes = coder.decodeByteCount("RolloverBytes");
    if (period.has_value() != bytes.has_value() || (period && !LocalDay::fromKey(static_cast<long>(*period)))) {
        coder.fail("RolloverPeriod", "a period's first day with its bytes");
    }
    if (period) {
        plan->stored_ = Rollover{static_cast<int>(*period), *bytes};
    }
    const std::optional<std::int64_t> start = coder.decodeInt64("FreeStart");
    const std::optional<std::int64_t> end = coder.decodeInt64("FreeEnd");
    if (start || end) {
        if (!isMinute(start) || !isMinute(end) || *start == *end) {
            coder.fail("FreeStart", "a window of free hours");
        }
        plan->freeHours_ = FreeHours{static_cast<int>(*start), static_cast<int>(*end)};
    }
    return plan;
}

}  // namespace quorvel
