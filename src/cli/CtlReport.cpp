// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlReport.hpp"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "cli/CtlColumns.hpp"
#include "engine/HistoryExport.hpp"
#include "model/AlertWords.hpp"
#include "model/FTrafficDataInformation.hpp"
#include "model/FileSize.hpp"
#include "model/MainScreenFigures.hpp"
#include "platform/Calendar.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

std::string twoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string localHour(const DateComponents& c)
{
    return std::to_string(c.year) + "-" + twoDigits(c.month) + "-" + twoDigits(c.day) + "T" + twoDigits(c.hour);
}

nlohmann::ordered_json locationsJson(const FTrafficDataInformation& s)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& d : s.parrTrafficDeltas().value_or(std::vector<std::shared_ptr<DeltaTrafficItem>>{})) {
        const Location where = d->pLocation.value_or(Location{});
        out.push_back({{"latitude", where.latitude},
                       {"longitude", where.longitude},
                       {"bytes", d->delta()},
                       {"latest", d->pDateComp ? nlohmann::ordered_json(localHour(*d->pDateComp)) : nullptr}});
    }
    return out;
}

}  // namespace

nlohmann::ordered_json CtlReport::packsJson(const PlanFacts& f)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const PlanFacts::Pack& p : f.packs) {
        out.push_back({{"size", p.size}, {"left", p.left}, {"first_day", p.first.text()}, {"last_day", p.last.text()}});
    }
    return out;
}

std::string CtlReport::localDay(Date date)
{
    const DateComponents c = Calendar::components(date);
    return std::to_string(c.year) + "-" + twoDigits(c.month) + "-" + twoDigits(c.day);
}

nlohmann::ordered_json CtlReport::monthJson(const MonthTraffic& m)
{
    nlohmann::ordered_json days = nlohmann::ordered_json::array();
    for (const CTrafficPoint& p : m.arrDaysTraffics()) {
        days.push_back({{"date", localDay(p.pDate())}, {"bytes", p.getTotalTraffic()}});
    }
    const auto day = [](const std::optional<Date>& d) { return d ? nlohmann::ordered_json(localDay(*d)) : nullptr; };
    return {{"period", m.getMonthPeriod()},          {"first_day", day(m.date())},
            {"last_day", day(m.last_date())},          {"days_count", m.pnDaysCount()},
            {"used", m.getDataUsed()},               {"max_day", m.getMaxDayUsedTraffic()},
            {"days", std::move(days)},               {"corrections", HistoryExport::correctionsJson(m)}};
}

nlohmann::ordered_json CtlReport::toJson() const
{
    const FTrafficDataInformation& s = *summary;
    const auto signedDays = [](std::optional<std::uint64_t> v) { return static_cast<std::int64_t>(v.value_or(0)); };
    nlohmann::ordered_json months = nlohmann::ordered_json::array();
    for (const auto& m : s.parrTrafficMonthsItems().value_or(FTrafficDataInformation::Months{})) {
        if (m) {
            months.push_back(monthJson(*m));
        }
    }
    nlohmann::ordered_json j;
    // Whose plan the figures are: a SIM's, or null for the device's own.
    j["sim"] = sim ? nlohmann::ordered_json{{"id", sim->key()}, {"name", sim->displayName()}, {"operator", sim->operatorName()}}
                   : nlohmann::ordered_json(nullptr);
    j["plan"] = s.pDataPlan().value_or(0);
    j["used"] = s.pDataUsed().value_or(0);
    j["left"] = s.pDataLeft().value_or(0);
    j["start_day"] = signedDays(s.pBillStartDay());
    j["days_used"] = signedDays(s.pDaysUsed());
    j["days_left"] = signedDays(s.pDaysLeft());
    j["today"] = s.pTodayDataUsed().value_or(0);
    j["avg_per_day"] = s.pAvgDataPerDayUsed().value_or(0);
    j["per_day_left"] = s.pDataPerDayLeft().value_or(0);
    j["estimate"] = s.pDataEstimation().value_or(0);
    j["roaming"] = s.pRoamingUsed().value_or(0);
    if (const std::optional<PlanFacts>& f = s.planFacts()) {
        j["plan"] = f->plan;
        j["plan_kind"] = PlanShape::kindName(f->kind);
        j["period_first_day"] = f->periodFirst.text();
        j["period_last_day"] = f->periodLast.text();
        j["allowance"] = f->allowance;
        j["rollover"] = f->rollover;
        j["addons"] = packsJson(*f);
        j["free_used"] = f->freeUsed;
        j["expired"] = f->expired;
    }
    j["booked"] = booked;
    j["held"] = held;
    j["alert"] = alert ? nlohmann::ordered_json{{"title", alert->title}, {"body", alert->body}} : nullptr;
    j["billing_months"] = std::move(months);
    j["locations"] = locationsJson(s);
    return j;
}

std::vector<std::pair<std::string, std::string>> CtlReport::figureRows(const FTrafficDataInformation& s,
                                                                      const MainScreenFigures& f)
{
    std::vector<std::pair<std::string, std::string>> rows;
    if (s.getMonthItemsCount() > 0) {
        const MonthTraffic* current = s.getMonthItemInfoforMonth(static_cast<std::int64_t>(s.getMonthItemsCount()) - 1);
        if (current != nullptr) {
            rows.emplace_back(_("Billing month"), current->localMonthPeriod());
        }
    }
    rows.insert(rows.end(), {{_("Data plan"), f.plan},
                             {_("Data used"), f.used + " (" + f.percentUsed + "%)"},
                             {_("Data left"), f.left},
                             {_("Used today"), f.usedToday},
                             {_("Average per day"), f.usedDaily},
                             {_("Left per day"), f.leftDaily},
                             {_("Days passed"), f.cyclePassed},
                             {_("Days left"), f.cycleLeft},
                             {_("Estimated usage"), f.estimation}});
    if (!f.roaming.empty()) {
        rows.emplace_back(_("Roaming"), f.roaming);
    }
    if (const std::optional<PlanFacts>& p = s.planFacts()) {
        planRows(*p, rows);
    }
    return rows;
}

void CtlReport::planRows(const PlanFacts& p, std::vector<std::pair<std::string, std::string>>& rows)
{
    const auto size = [](std::uint64_t b) { return FileSize::formatMemoryStringDot1(b); };
    if (p.kind != PlanShape::Kind::Monthly) {
        rows.insert(rows.begin(), {_("Period"), Translation::fill(_("%s to %s"), {p.periodFirst.text(), p.periodLast.text()})});
    }
    if (p.expired) {
        rows.insert(rows.begin(), {_("Plan"), Translation::fill(_("expired on %s; set a new one with quorvelctl plan"),
                                                                {p.periodLast.text()})});
    }
    if (p.allowance != p.plan) {
        std::uint64_t packs = 0;
        for (const PlanFacts::Pack& pack : p.packs) {
            packs += pack.left;
        }
        rows.emplace_back(_("Allowance"), Translation::fill(_("%s (plan %s, rollover %s, packs %s)"),
                                                            {size(p.allowance), size(p.plan), size(p.rollover),
                                                             size(p.allowance - std::min(p.allowance, p.plan + p.rollover))}));
        if (!p.packs.empty()) {
            rows.emplace_back(_("Packs left"), size(packs));
        }
    }
    if (p.freeUsed > 0) {
        rows.emplace_back(_("Free hours"), Translation::fill(_("%s not counted"), {size(p.freeUsed)}));
    }
}

std::string CtlReport::toText(bool full) const
{
    const MainScreenFigures f = MainScreenFigures::fromSummary(*summary, today);
    std::ostringstream out;
    if (alert) {
        out << AlertWords::translated(alert->title) << ": " << AlertWords::translated(alert->body) << "\n";
    }
    if (held > 0) {
        // Booked under this date the bytes would land in no kept month: they wait for the clock.
        out << Translation::fill(_("The clock says %s, before the days already counted: %s are held and booked once "
                                   "the clock is right."),
                                 {localDay(today), FileSize::formatMemoryStringDot1(held)})
            << "\n";
    }
    if (!full) {
        out << (booked ? _("Booked new traffic.") : _("No new traffic.")) << "\n";
        return out.str();
    }
    auto rows = figureRows(*summary, f);
    const std::string places = _("Places");
    // The figures in one column: 18 characters, or two past the longest label of the language.
    std::size_t width = 18;
    for (const auto& labelled : rows) {
        width = std::max(width, CtlColumns::characters(labelled.first) + 2);
    }
    width = std::max(width, CtlColumns::characters(places) + 2);
    const auto row = [&out, width](const std::string& label, const std::string& value) {
        out << CtlColumns::padded(label, width) << value << "\n";
    };
    for (const auto& [label, value] : rows) {
        row(label, value);
    }
    row(places,
        std::to_string(summary->parrTrafficDeltas().value_or(std::vector<std::shared_ptr<DeltaTrafficItem>>{}).size()));
    out << f.dateLong << ": " << Translation::tr(f.advice) << "\n";
    return out.str();
}

}  // namespace quorvel
