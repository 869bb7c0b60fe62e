// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/HistoryExport.hpp"

#include <ostream>

#include "engine/CAppController.hpp"
#include "model/LocalDay.hpp"
#include "platform/Calendar.hpp"

namespace quorvel {

namespace {

std::string hourText(const DateComponents& c)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d", c.year, c.month, c.day, c.hour);
    return buf;
}

nlohmann::ordered_json shapeJson(const PlanShape& shape)
{
    using Kind = PlanShape::Kind;
    const bool dated = shape.kind() == Kind::Every || shape.kind() == Kind::Prepaid;
    return {{"kind", PlanShape::kindName(shape.kind())},
            {"start_day", shape.kind() == Kind::Monthly ? nlohmann::ordered_json(shape.startDay()) : nullptr},
            {"every_days", shape.kind() == Kind::Every ? nlohmann::ordered_json(shape.everyDays()) : nullptr},
            {"from", dated ? nlohmann::ordered_json(shape.from().text()) : nullptr},
            {"until", shape.kind() == Kind::Prepaid ? nlohmann::ordered_json(shape.until().text()) : nullptr}};
}

}  // namespace

nlohmann::ordered_json HistoryExport::correctionsJson(const MonthTraffic& m)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const TrafficCorrection& c : m.arrCorrections()) {
        out.push_back({{"date", LocalDay::of(c.date()).text()}, {"bytes", c.bytes()}});
    }
    return out;
}

nlohmann::ordered_json HistoryExport::json(const CAppController& app)
{
    const CTraffics& history = app.pmodule()->history();
    return {{"months", monthsJson(history)},
            {"month_totals", totalsJson(history)},
            {"places", placesJson(history)},
            {"settings", settingsJson(app)}};
}

nlohmann::ordered_json HistoryExport::totalsJson(const CTraffics& history)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const MonthTotal& t : history.monthTotals().list()) {
        list.push_back({{"month", t.text()},
                        {"used_bytes", t.used()},
                        {"free_bytes", t.free()},
                        {"roaming_bytes", t.roaming()},
                        {"plan", t.plan().value_or(0)}});
    }
    return list;
}

nlohmann::ordered_json HistoryExport::monthsJson(const CTraffics& history)
{
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& m : history.months()) {
        nlohmann::ordered_json days = nlohmann::ordered_json::array();
        for (const CTrafficPoint& p : m->arrDaysTraffics()) {
            days.push_back({{"date", LocalDay::of(p.pDate()).text()},
                            {"bytes", p.getTotalTraffic()},
                            {"wifi_bytes", p.getTotalTrafficWf()},
                            {"roaming_bytes", p.getRoamingTraffic()},
                            {"entered_bytes", p.getEnteredTraffic()},
                            {"free_bytes", p.getFreeTraffic()}});
        }
        list.push_back({{"month", m->psMonth() + " " + m->psYear()},
                        {"plan", m->pMonthPlan().value_or(0)},
                        {"days", std::move(days)},
                        {"corrections", correctionsJson(*m)}});
    }
    return list;
}

nlohmann::ordered_json HistoryExport::placesJson(const CTraffics& history)
{
    nlohmann::ordered_json out = nlohmann::ordered_json::array();
    for (const auto& d : history.deltas()) {
        const Location where = d->pLocation.value_or(Location{});
        out.push_back({{"latitude", where.latitude},
                       {"longitude", where.longitude},
                       {"bytes", d->delta()},
                       {"latest", d->pDateComp ? nlohmann::ordered_json(hourText(*d->pDateComp)) : nullptr}});
    }
    return out;
}

nlohmann::ordered_json HistoryExport::settingsJson(const CAppController& app)
{
    using Switch = CAppController::AlertSwitch;
    const CTrafficManager& m = *app.pmodule();
    nlohmann::ordered_json packs = nlohmann::ordered_json::array();
    for (const AddonPack& p : m.dataPlan().packs()) {
        packs.push_back({{"size", p.size()}, {"first_day", p.first().text()}, {"days", p.days()}});
    }
    return {{"plan", m.getMonthPlan()},
            {"start_day", m.getPlanStartDay()},
            {"shape", shapeJson(m.planShape())},
            {"packs", std::move(packs)},
            {"alerts",
             {{"day", app.alertSwitch(Switch::Day)},
              {"month", app.alertSwitch(Switch::Month)},
              {"overbound", app.alertSwitch(Switch::Overbound)}}}};
}

void HistoryExport::csv(const CTraffics& history, std::ostream& out)
{
    // Nothing fills the records' Wi-Fi field, so CSV leaves that always-zero column out. A
    // correction is a row of its own (signed), after the day rows of its month.
    // The free hours' share comes last, so that readers of the older columns read on.
    out << "date,cellular_bytes,kind,free_bytes\n";
    // The months kept only as totals come first, oldest first, dated by their month alone.
    for (const MonthTotal& t : history.monthTotals().list()) {
        out << t.text() << "," << t.used() << ",month_total," << t.free() << "\n";
    }
    for (const auto& m : history.months()) {
        for (const CTrafficPoint& p : m->arrDaysTraffics()) {
            out << LocalDay::of(p.pDate()).text() << "," << p.getTotalTraffic() << ",day," << p.getFreeTraffic() << "\n";
        }
        for (const TrafficCorrection& c : m->arrCorrections()) {
            out << LocalDay::of(c.date()).text() << "," << c.bytes() << ",correction,0\n";
        }
    }
}

}  // namespace quorvel
