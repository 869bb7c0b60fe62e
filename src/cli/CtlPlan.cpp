// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlPlan.hpp"

#include <ostream>

#include <nlohmann/json.hpp>

#include "engine/CAppController.hpp"
#include "engine/CTrafficManager.hpp"
#include "model/FileSize.hpp"
#include "model/StrictEntry.hpp"
#include "platform/NumberFormat.hpp"

namespace quorvel {

namespace {

int refuse(std::ostream& err, const std::string& why)
{
    err << "quorvelctl: " << why << "; nothing was changed\n";
    return 1;
}

std::string size(std::uint64_t bytes)
{
    return FileSize::formatMemoryStringDot1(bytes);
}

std::string shapeText(const PlanShape& s)
{
    switch (s.kind()) {
    case PlanShape::Kind::Monthly:
        return "monthly, from day " + std::to_string(s.startDay());
    case PlanShape::Kind::Every:
        return "every " + std::to_string(s.everyDays()) + " days from " + s.from().text();
    case PlanShape::Kind::Daily:
        return "daily";
    case PlanShape::Kind::Prepaid:
        return "prepaid from " + s.from().text() + " until " + s.until().text();
    }
    return {};
}

// Everything a `plan` command asks to change, checked as a whole first.
struct PlanChange {
    std::optional<PlanShape> shape;
    std::optional<std::uint64_t> size;
    std::optional<bool> rollover;
    std::optional<std::optional<DataPlan::FreeHours>> freeHours;
    bool any() const { return shape || size || rollover || freeHours; }
};

std::optional<std::string> dayOption(const CtlArguments& a, const char* option, std::optional<LocalDay>* out)
{
    const std::optional<std::string> text = a.value(option);
    if (!text) {
        return std::string(option) + " YYYY-MM-DD is needed";
    }
    *out = LocalDay::parse(*text);
    return *out ? std::nullopt : std::optional<std::string>("invalid date '" + *text + "' (YYYY-MM-DD of a day that exists)");
}

// The shape the options name; an error text when they are wrong.
std::optional<std::string> readShape(const CtlArguments& a, PlanChange& c)
{
    const int shapes = int(a.has("--monthly")) + int(a.has("--every")) + int(a.has("--daily")) + int(a.has("--prepaid"));
    if (shapes > 1) {
        return std::string("choose one of --monthly, --every, --daily and --prepaid");
    }
    if (a.has("--start-day") && !a.has("--monthly")) {
        return std::string("--start-day goes with --monthly");
    }
    if ((a.has("--from") && !a.has("--every") && !a.has("--prepaid")) || (a.has("--until") && !a.has("--prepaid"))) {
        return std::string(a.has("--until") ? "--until goes with --prepaid" : "--from goes with --every or --prepaid");
    }
    std::optional<LocalDay> from;
    std::optional<LocalDay> until;
    if (a.has("--monthly")) {
        const StrictEntry::Read<std::int32_t> day = StrictEntry::startDay(a.value("--start-day").value_or(""));
        if (!day.value) {
            return "invalid start day: " + day.why;
        }
        c.shape = PlanShape::monthly(*day.value);
    } else if (a.has("--every")) {
        const std::optional<int> n = StrictEntry::wholeNumber(*a.value("--every"), 1, PlanShape::kMaxEveryDays);
        if (!n) {
            return "invalid period '" + *a.value("--every") + "' (1 to 366 days)";
        }
        if (auto why = dayOption(a, "--from", &from)) {
            return why;
        }
        c.shape = PlanShape::every(*n, *from);
    } else if (a.has("--daily")) {
        c.shape = PlanShape::daily();
    } else if (a.has("--prepaid")) {
        if (auto why = dayOption(a, "--from", &from); why || (why = dayOption(a, "--until", &until))) {
            return why;
        }
        if (*until < *from) {
            return "--until " + until->text() + " lies before --from " + from->text();
        }
        c.shape = PlanShape::prepaid(*from, *until);
    }
    return std::nullopt;
}

std::optional<std::string> readChange(const CtlArguments& a, PlanChange& c)
{
    if (auto why = readShape(a, c)) {
        return why;
    }
    if (auto text = a.value("--size")) {
        const auto read = StrictEntry::megabytes(*text, NumberFormat::decimalSeparator(), true);
        if (!read.value) {
            return "invalid size: " + read.why;
        }
        c.size = read.value;
    }
    if (auto text = a.value("--rollover")) {
        if (*text != "on" && *text != "off") {
            return "invalid rollover switch '" + *text + "' (on or off)";
        }
        c.rollover = *text == "on";
    }
    if (auto text = a.value("--free-hours")) {
        const std::optional<DataPlan::FreeHours> hours = DataPlan::FreeHours::parse(*text);
        if (*text != "off" && !hours) {
            return "invalid free hours '" + *text + "' (HH:MM-HH:MM, not empty, or off)";
        }
        c.freeHours = hours;
    }
    return std::nullopt;
}

}  // namespace

int CtlPlan::plan(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start)
{
    PlanChange c;
    if (auto why = readChange(a, c)) {
        return refuse(err, *why);
    }
    CAppController& app = start();
    if (c.freeHours && app.selectedSim()) {
        // One sampler splits every link's bytes at one set of hours: This device's plan's.
        return refuse(err, "free hours are This device's plan's; a SIM's free share follows them");
    }
    if (c.any()) {
        app.withStateLock([&](CTrafficManager& m) {
            if (c.size) {
                m.setNewPlanValue(*c.size);
            }
            if (c.shape) {
                m.setPlanShape(*c.shape);
            }
            if (c.rollover) {
                m.setRollover(*c.rollover);
            }
            if (c.freeHours) {
                m.setFreeHours(*c.freeHours);
            }
        });
        if (app.fileProblem()) {
            return 0;  // the caller reports that nothing could be saved
        }
    }
    show(app, a.has("--json"), out);
    return 0;
}

void CtlPlan::show(CAppController& app, bool json, std::ostream& out)
{
    const CTrafficManager& m = *app.pmodule();
    const PlanShape shape = m.planShape();
    const PlanPeriod p = m.currentPeriod();
    const Allowance::Result a = m.allowanceNow();
    const std::optional<DataPlan::FreeHours>& free = m.dataPlan().freeHours();
    if (json) {
        nlohmann::ordered_json j;
        j["plan"] = m.getMonthPlan();
        j["plan_kind"] = PlanShape::kindName(shape.kind());
        j["start_day"] = shape.kind() == PlanShape::Kind::Monthly ? nlohmann::ordered_json(shape.startDay()) : nullptr;
        j["every_days"] = shape.kind() == PlanShape::Kind::Every ? nlohmann::ordered_json(shape.everyDays()) : nullptr;
        const bool dated = shape.kind() == PlanShape::Kind::Every || shape.kind() == PlanShape::Kind::Prepaid;
        j["from"] = dated ? nlohmann::ordered_json(shape.from().text()) : nullptr;
        j["until"] = shape.kind() == PlanShape::Kind::Prepaid ? nlohmann::ordered_json(shape.until().text()) : nullptr;
        j["period_first_day"] = p.first().text();
        j["period_last_day"] = p.last().text();
        j["expired"] = p.expired();
        j["allowance"] = a.allowance;
        j["left"] = a.left;
        j["rollover_on"] = m.dataPlan().rolloverOn();
        j["rollover"] = m.rolloverForPeriod(p);
        j["free_hours"] = free ? nlohmann::ordered_json(free->text()) : nullptr;
        out << j.dump(2) << "\n";
        return;
    }
    out << "Plan:       " << size(m.getMonthPlan()) << ", " << shapeText(shape) << "\n";
    out << "Period:     " << p.first().text() << " to " << p.last().text() << " (" << p.length()
        << (p.length() == 1 ? " day" : " days") << ")\n";
    if (p.expired()) {
        out << "The plan has expired. Set a new one with quorvelctl plan.\n";
    }
    std::uint64_t packs = a.allowance - std::min(a.allowance, m.getMonthPlan() + m.rolloverForPeriod(p));
    out << "Allowance:  " << size(a.allowance) << " (plan " << size(m.getMonthPlan()) << ", rollover "
        << size(m.rolloverForPeriod(p)) << ", packs " << size(packs) << "), " << size(a.left) << " left\n";
    out << "Rollover:   " << (m.dataPlan().rolloverOn() ? "on" : "off") << "\n";
    out << "Free hours: " << (free ? free->text() : "off") << "\n";
    if (!m.dataPlan().packs().empty()) {
        listPacks(app, false, out);
    }
}

int CtlPlan::addon(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start)
{
    const std::string& what = a.words[0];
    if (what == "list") {
        listPacks(start(), a.has("--json"), out);
        return 0;
    }
    if (what == "remove") {
        const std::optional<int> index = StrictEntry::wholeNumber(a.words[1], 1, static_cast<int>(DataPlan::kMaxPacks));
        CAppController& app = start();
        const std::size_t count = app.pmodule()->dataPlan().packs().size();
        if (!index || static_cast<std::size_t>(*index) > count) {
            return refuse(err, "there is no pack '" + a.words[1] + "' (quorvelctl addon list numbers them from 1)");
        }
        app.withStateLock([&](CTrafficManager& m) { m.removePack(static_cast<std::size_t>(*index) - 1); });
        out << "Pack " << *index << " removed.\n";
        return 0;
    }
    const std::optional<std::string> sizeText = a.value("--size");
    const std::optional<std::string> daysText = a.value("--days");
    if (!sizeText || !daysText) {
        return refuse(err, "addon add needs --size MB and --days N");
    }
    const auto bytes = StrictEntry::megabytes(*sizeText, NumberFormat::decimalSeparator(), true);
    if (!bytes.value) {
        return refuse(err, "invalid size: " + bytes.why);
    }
    const std::optional<int> days = StrictEntry::wholeNumber(*daysText, 1, AddonPack::kMaxDays);
    if (!days) {
        return refuse(err, "invalid days '" + *daysText + "' (1 to 3660)");
    }
    std::optional<LocalDay> from;
    if (a.has("--from")) {
        if (auto why = dayOption(a, "--from", &from)) {
            return refuse(err, *why);
        }
    }
    CAppController& app = start();
    if (app.pmodule()->dataPlan().packs().size() >= DataPlan::kMaxPacks) {
        return refuse(err, "there are already 100 packs; remove one first");
    }
    const LocalDay first = from.value_or(app.pmodule()->currentDay());
    const AddonPack pack(*bytes.value, first, *days);
    app.withStateLock([&](CTrafficManager& m) { m.addPack(pack); });
    out << "Pack of " << size(pack.size()) << " added, valid from " << pack.first().text() << " to "
        << pack.last().text() << ".\n";
    return 0;
}

void CtlPlan::listPacks(CAppController& app, bool json, std::ostream& out)
{
    const CTrafficManager& m = *app.pmodule();
    const Allowance::Result a = m.allowanceNow();
    const std::vector<AddonPack>& packs = m.dataPlan().packs();
    const LocalDay today = m.currentDay();
    if (json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < packs.size(); ++i) {
            list.push_back({{"index", i + 1}, {"size", packs[i].size()}, {"left", a.packLeft[i]},
                            {"first_day", packs[i].first().text()}, {"last_day", packs[i].last().text()},
                            {"expired", packs[i].last() < today}});
        }
        out << nlohmann::ordered_json{{"addons", std::move(list)}}.dump(2) << "\n";
        return;
    }
    if (packs.empty()) {
        out << "No packs.\n";
    }
    for (std::size_t i = 0; i < packs.size(); ++i) {
        out << "  " << i + 1 << ". " << size(packs[i].size()) << ", "
            << (packs[i].last() < today ? "expired" : size(a.packLeft[i]) + " left") << ", "
            << packs[i].first().text() << " to " << packs[i].last().text() << "\n";
    }
}

}  // namespace quorvel
