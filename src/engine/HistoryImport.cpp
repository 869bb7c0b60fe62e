// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/HistoryImport.hpp"

#include <algorithm>
#include <set>
#include <tuple>

#include "engine/CTraffics.hpp"
#include "model/DateDay.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/Calendar.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

int monthKey(LocalDay d)
{
    return d.year() * 100 + d.month();
}

int monthKey(Date date)
{
    return monthKey(LocalDay::of(date));
}

bool isKept(const std::vector<int>& kept, int key)
{
    return std::find(kept.begin(), kept.end(), key) != kept.end();
}

const CTrafficPoint* storedDay(const CTraffics& history, Date date)
{
    const MonthTraffic* month = history.getMonthInfoForDate(date);
    if (month == nullptr) {
        return nullptr;
    }
    for (const CTrafficPoint& p : month->arrDaysTraffics()) {
        if (DateDay::isTheSameDay(p.pDate(), date)) {
            return &p;
        }
    }
    return nullptr;
}

bool correctionStored(const CTraffics& history, const TrafficCorrection& c)
{
    const MonthTraffic* month = history.getMonthInfoForDate(c.date());
    if (month == nullptr) {
        return false;
    }
    return std::any_of(month->arrCorrections().begin(), month->arrCorrections().end(), [&](const TrafficCorrection& s) {
        return DateDay::isTheSameDay(s.date(), c.date()) && s.bytes() == c.bytes();
    });
}

std::tuple<int, int, int, int> hourOf(const DeltaTrafficItem& d)
{
    const DateComponents c = d.pDateComp.value_or(DateComponents{});
    return {c.year, c.month, c.day, c.hour};
}

}  // namespace

std::optional<std::string> HistoryImport::refusal(const ImportedHistory& in, LocalDay today)
{
    constexpr std::uint64_t kMost = ArchiveDecoder::kMaxByteCount;
    std::set<int> seen;
    for (const ImportedHistory::Day& d : in.days) {
        const CTrafficPoint& p = d.point;
        if (!seen.insert(d.day.key()).second) {
            return Translation::fill(_("the day %s is listed twice"), {d.day.text()});
        }
        if (d.day > today) {
            return Translation::fill(_("the day %s lies in the future"), {d.day.text()});
        }
        if (p.getTotalTraffic() > kMost || d.plan.value_or(0) > kMost) {
            return Translation::fill(_("the bytes of %s exceed 2^53"), {d.day.text()});
        }
    }
    for (const TrafficCorrection& c : in.corrections) {
        if (LocalDay::of(c.date()) > today) {
            return Translation::fill(_("the correction of %s lies in the future"), {LocalDay::of(c.date()).text()});
        }
    }
    std::set<int> months;
    for (const MonthTotal& t : in.totals) {
        if (!months.insert(t.key()).second) {
            return Translation::fill(_("the month %s is listed twice"), {t.text()});
        }
        if (t.key() > monthKey(today)) {
            return Translation::fill(_("the month %s lies in the future"), {t.text()});
        }
    }
    return std::nullopt;
}

std::vector<int> HistoryImport::keptMonths(const CTraffics& history, const ImportedHistory& in)
{
    std::set<int> keys;
    for (const auto& m : history.months()) {
        if (m->date()) {
            keys.insert(monthKey(*m->date()));
        }
    }
    for (const ImportedHistory::Day& d : in.days) {
        keys.insert(monthKey(d.day));
    }
    for (const TrafficCorrection& c : in.corrections) {
        keys.insert(monthKey(c.date()));
    }
    // As the history trims: the newest three, and those a long billing period still reaches.
    const std::optional<int> from = history.keepFrom() ? std::optional<int>(monthKey(*history.keepFrom())) : std::nullopt;
    std::vector<int> kept;
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        if (kept.size() < CTraffics::kMaxMonths || (from && *it >= *from)) {
            kept.push_back(*it);
        }
    }
    return kept;
}

HistoryImport::Tally HistoryImport::Plan::tally() const
{
    Tally t;
    for (const Change& c : days) {
        t.daysAdded += c.kind == Kind::Added ? 1 : 0;
        t.daysReplaced += c.kind == Kind::Replaced ? 1 : 0;
        t.daysKept += c.kind == Kind::KeptRecorded || c.kind == Kind::Same ? 1 : 0;
        t.daysFolded += c.kind == Kind::Folded ? 1 : 0;
    }
    for (const Change& c : totals) {
        t.totals += c.kind == Kind::Added || c.kind == Kind::Replaced ? 1 : 0;
    }
    return t;
}

HistoryImport::Plan HistoryImport::plan(const CTraffics& history, const ImportedHistory& in)
{
    Plan out;
    const std::vector<int> kept = keptMonths(history, in);
    Folds folded;
    planDays(history, in, kept, out, folded);
    planCorrections(history, in, kept, out, folded);
    planTotals(history, in, folded, kept, out);
    planPlaces(history, in, out);
    return out;
}

void HistoryImport::planDays(const CTraffics& history, const ImportedHistory& in, const std::vector<int>& kept,
                             Plan& out, Folds& folded)
{
    for (const ImportedHistory::Day& d : in.days) {
        const CTrafficPoint& p = d.point;
        if (!isKept(kept, monthKey(d.day))) {
            Fold& f = folded[monthKey(d.day)];
            f.charged += p.getChargedTraffic();
            f.free += p.getFreeTraffic();
            f.roaming += p.getRoamingTraffic();
            f.plan = d.plan;
            out.days.push_back({Kind::Folded, d.day.text(), 0, p.getMeasuredTraffic()});
            continue;
        }
        const CTrafficPoint* stored = storedDay(history, p.pDate());
        const auto amount = [&](const CTrafficPoint& q) {
            return in.sharesKnown ? q.getMeasuredTraffic() : q.getTotalTraffic();
        };
        Change c{Kind::Added, d.day.text(), stored != nullptr ? amount(*stored) : 0, amount(p)};
        if (stored != nullptr) {
            const bool same = in.sharesKnown ? stored->sameAmounts(p) : c.recorded == c.imported;
            c.kind = same ? Kind::Same : c.imported > c.recorded ? Kind::Replaced : Kind::KeptRecorded;
        }
        if (c.kind == Kind::Added || c.kind == Kind::Replaced) {
            out.toReplace.push_back(d);
        }
        out.days.push_back(c);
    }
}

void HistoryImport::planCorrections(const CTraffics& history, const ImportedHistory& in, const std::vector<int>& kept,
                                    Plan& out, Folds& folded)
{
    for (const TrafficCorrection& c : in.corrections) {
        if (!isKept(kept, monthKey(c.date()))) {
            folded[monthKey(c.date())].corrected += c.bytes();
        } else if (!correctionStored(history, c)) {
            out.toAdd.push_back(c);
            ++out.correctionsAdded;
        }
    }
}

void HistoryImport::planTotals(const CTraffics& history, const ImportedHistory& in, const Folds& folded,
                               const std::vector<int>& kept, Plan& out)
{
    MonthTotals incoming;
    for (const MonthTotal& t : in.totals) {
        incoming.keep(t);
    }
    for (const auto& [key, f] : folded) {
        incoming.keep(MonthTotal(key / 100, key % 100, TrafficCorrection::applied(f.charged, f.corrected), f.free,
                                 f.roaming, f.plan));
    }
    for (const MonthTotal& t : incoming.list()) {
        if (isKept(kept, t.key())) {
            continue;  // the month is held as days, which say more than its total
        }
        const MonthTotal* stored = history.monthTotals().find(t.key());
        Change c{Kind::Added, t.text(), stored != nullptr ? stored->used() : 0, t.used()};
        if (stored != nullptr) {
            c.kind = *stored == t ? Kind::Same : t.exceeds(*stored) ? Kind::Replaced : Kind::KeptRecorded;
        }
        if (c.kind == Kind::Added || c.kind == Kind::Replaced) {
            out.toKeep.push_back(t);
        }
        out.totals.push_back(c);
    }
}

void HistoryImport::planPlaces(const CTraffics& history, const ImportedHistory& in, Plan& out)
{
    std::vector<std::shared_ptr<DeltaTrafficItem>> places;
    for (const auto& d : history.deltas()) {
        places.push_back(std::make_shared<DeltaTrafficItem>(*d));
    }
    for (const DeltaTrafficItem& d : in.places) {
        const Location where = d.pLocation.value_or(Location{});
        const auto same = std::find_if(places.begin(), places.end(), [&](const auto& p) {
            return p->pLocation.value_or(Location{}).shortDistanceFrom(where) <= CTraffics::kSamePlaceMetres;
        });
        if (same == places.end()) {
            places.push_back(std::make_shared<DeltaTrafficItem>(d));
            ++out.placesChanged;
        } else if (d.delta() > (*same)->delta()) {
            **same = d;
            ++out.placesChanged;
        }
    }
    while (places.size() > CTraffics::kMaxDeltas) {
        places.erase(std::min_element(places.begin(), places.end(),
                                      [](const auto& a, const auto& b) { return hourOf(*a) < hourOf(*b); }));
        ++out.placesDropped;
    }
    if (out.placesChanged > 0) {
        out.places = std::move(places);
    }
}

void HistoryImport::apply(CTraffics& history, const Plan& plan)
{
    // Newest first: a month made for an imported day never pushes out one the import still fills.
    std::vector<ImportedHistory::Day> days = plan.toReplace;
    std::sort(days.begin(), days.end(), [](const ImportedHistory::Day& a, const ImportedHistory::Day& b) { return a.day > b.day; });
    for (const ImportedHistory::Day& d : days) {
        history.replaceDay(d.point, d.plan);
    }
    for (const TrafficCorrection& c : plan.toAdd) {
        history.addCorrection(c);
    }
    for (const MonthTotal& t : plan.toKeep) {
        history.keepMonthTotal(t);
    }
    if (plan.places) {
        history.replacePlaces(*plan.places);
    }
    history.dataUsageChanged();
}

}  // namespace quorvel
