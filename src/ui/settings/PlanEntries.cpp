// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/PlanEntries.hpp"


#include "model/FileSize.hpp"
#include "model/StrictEntry.hpp"
#include "platform/NumberFormat.hpp"

namespace quorvel {

namespace {

template <class T>
PlanEntries::Read<T> refused(std::string why)
{
    return {std::nullopt, std::move(why)};
}

PlanEntries::Read<LocalDay> day(std::string_view text, const char* which)
{
    if (std::optional<LocalDay> d = LocalDay::parse(text)) {
        return {d, {}};
    }
    return refused<LocalDay>(std::string(which) + " must be a date that exists, as YYYY-MM-DD.");
}

}  // namespace

PlanEntries::Read<PlanShape> PlanEntries::shape(const ShapeFields& f)
{
    switch (f.kind) {
    case PlanShape::Kind::Monthly: {
        const StrictEntry::Read<std::int32_t> d = StrictEntry::startDay(f.startDay);
        if (!d.value) {
            return refused<PlanShape>("The start day must be a day of 1 to 31.");
        }
        return {PlanShape::monthly(*d.value), {}};
    }
    case PlanShape::Kind::Every: {
        const std::optional<int> n = StrictEntry::wholeNumber(f.everyDays, 1, PlanShape::kMaxEveryDays);
        if (!n) {
            return refused<PlanShape>("The period must be 1 to 366 days.");
        }
        const Read<LocalDay> from = day(f.from, "The first day");
        if (!from.value) {
            return refused<PlanShape>(from.why);
        }
        return {PlanShape::every(*n, *from.value), {}};
    }
    case PlanShape::Kind::Daily:
        return {PlanShape::daily(), {}};
    case PlanShape::Kind::Prepaid: {
        const Read<LocalDay> from = day(f.from, "The first day");
        const Read<LocalDay> until = day(f.until, "The last day");
        if (!from.value || !until.value) {
            return refused<PlanShape>(!from.value ? from.why : until.why);
        }
        if (*until.value < *from.value) {
            return refused<PlanShape>("The last day lies before the first.");
        }
        return {PlanShape::prepaid(*from.value, *until.value), {}};
    }
    }
    return refused<PlanShape>("Choose a kind of plan.");
}

PlanEntries::Read<AddonPack> PlanEntries::pack(std::string_view sizeMB, std::string_view days, std::string_view from,
                                               LocalDay today)
{
    const auto bytes = StrictEntry::megabytes(sizeMB, NumberFormat::decimalSeparator(), true);
    if (!bytes.value) {
        return refused<AddonPack>("The size must be a number of megabytes above 0.");
    }
    const std::optional<int> n = StrictEntry::wholeNumber(days, 1, AddonPack::kMaxDays);
    if (!n) {
        return refused<AddonPack>("The pack must be valid for 1 to 3660 days.");
    }
    LocalDay first = today;
    if (!from.empty()) {
        const Read<LocalDay> d = day(from, "The first day");
        if (!d.value) {
            return refused<AddonPack>(d.why);
        }
        first = *d.value;
    }
    return {AddonPack(*bytes.value, first, *n), {}};
}

PlanEntries::Read<DataPlan::FreeHours> PlanEntries::freeHours(std::string_view start, std::string_view end)
{
    const std::optional<int> from = DataPlan::FreeHours::parseMinute(start);
    const std::optional<int> to = DataPlan::FreeHours::parseMinute(end);
    if (!from || !to) {
        return refused<DataPlan::FreeHours>("The free hours start and end at a time HH:MM, such as 06:00.");
    }
    // One reading for both: the command line's form of the same window.
    if (auto hours = DataPlan::FreeHours::parse(std::string(start) + "-" + std::string(end))) {
        return {hours, {}};
    }
    return refused<DataPlan::FreeHours>("The free hours must not start and end at the same time.");
}

PlanEntries::ShapeFields PlanEntries::fieldsOf(const PlanShape& shape, LocalDay today)
{
    using Kind = PlanShape::Kind;
    const bool dated = shape.kind() == Kind::Every || shape.kind() == Kind::Prepaid;
    const LocalDay from = dated ? shape.from() : today;
    ShapeFields f;
    f.kind = shape.kind();
    f.startDay = std::to_string(shape.kind() == Kind::Monthly ? shape.startDay() : 1);
    f.everyDays = std::to_string(shape.kind() == Kind::Every ? shape.everyDays() : 30);
    f.from = from.text();
    f.until = (shape.kind() == Kind::Prepaid ? shape.until() : from.plusDays(29)).text();
    return f;
}

const char* PlanEntries::kindTitle(PlanShape::Kind kind)
{
    switch (kind) {
    case PlanShape::Kind::Monthly:
        return "Monthly";
    case PlanShape::Kind::Every:
        return "Every N days";
    case PlanShape::Kind::Daily:
        return "Daily";
    case PlanShape::Kind::Prepaid:
        return "Prepaid";
    }
    return "";
}

std::string PlanEntries::shapeSummary(const PlanShape& s)
{
    switch (s.kind()) {
    case PlanShape::Kind::Monthly:
        return "Monthly from day " + std::to_string(s.startDay());
    case PlanShape::Kind::Every:
        return "Every " + std::to_string(s.everyDays()) + (s.everyDays() == 1 ? " day" : " days") + " from " +
               s.from().text();
    case PlanShape::Kind::Daily:
        return "Daily";
    case PlanShape::Kind::Prepaid:
        return "Prepaid " + s.from().text() + " to " + s.until().text();
    }
    return {};
}

std::string PlanEntries::packSummary(const AddonPack& pack, std::uint64_t left, LocalDay today)
{
    const std::string size = FileSize::formatMemoryStringDot1(pack.size());
    if (pack.last() < today) {
        return size + " · expired " + pack.last().text();
    }
    return size + " · " + FileSize::formatMemoryStringDot1(left) + " left · until " + pack.last().text();
}

}  // namespace quorvel
