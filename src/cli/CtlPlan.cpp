// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlPlan.hpp"

#include <algorithm>
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/CtlColumns.hpp"
#include "cli/CtlProblem.hpp"
#include "engine/CAppController.hpp"
#include "engine/CTrafficManager.hpp"
#include "model/FileSize.hpp"
#include "model/StrictEntry.hpp"
#include "platform/NumberFormat.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

int refuse(std::ostream& err, const std::string& why)
{
    return CtlProblem::refuse(err, Translation::fill(_("%s; nothing was changed"), {why}));
}

std::string size(std::uint64_t bytes)
{
    return FileSize::formatMemoryStringDot1(bytes);
}

std::string shapeText(const PlanShape& s)
{
    switch (s.kind()) {
    case PlanShape::Kind::Monthly:
        return Translation::fill(_("monthly, from day %s"), {std::to_string(s.startDay())});
    case PlanShape::Kind::Every:
        return Translation::fill(_("every %s days from %s"), {std::to_string(s.everyDays()), s.from().text()});
    case PlanShape::Kind::Daily:
        return _("daily");
    case PlanShape::Kind::Prepaid:
        return Translation::fill(_("prepaid from %s until %s"), {s.from().text(), s.until().text()});
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
        return Translation::fill(_("%s YYYY-MM-DD is needed"), {option});
    }
    *out = LocalDay::parse(*text);
    return *out ? std::nullopt
                : std::optional<std::string>(
                      Translation::fill(_("invalid date '%s' (YYYY-MM-DD of a day that exists)"), {*text}));
}

// The shape the options name; an error text when they are wrong.
std::optional<std::string> readShape(const CtlArguments& a, PlanChange& c)
{
    const int shapes = int(a.has("--monthly")) + int(a.has("--every")) + int(a.has("--daily")) + int(a.has("--prepaid"));
    if (shapes > 1) {
        return std::string(_("choose one of --monthly, --every, --daily and --prepaid"));
    }
    if (a.has("--start-day") && !a.has("--monthly")) {
        return std::string(_("--start-day goes with --monthly"));
    }
    if ((a.has("--from") && !a.has("--every") && !a.has("--prepaid")) || (a.has("--until") && !a.has("--prepaid"))) {
        return std::string(a.has("--until") ? _("--until goes with --prepaid") : _("--from goes with --every or --prepaid"));
    }
    std::optional<LocalDay> from;
    std::optional<LocalDay> until;
    if (a.has("--monthly")) {
        const StrictEntry::Read<std::int32_t> day = StrictEntry::startDay(a.value("--start-day").value_or(""));
        if (!day.value) {
            return Translation::fill(_("invalid start day: %s"), {day.why});
        }
        c.shape = PlanShape::monthly(*day.value);
    } else if (a.has("--every")) {
        const std::optional<int> n = StrictEntry::wholeNumber(*a.value("--every"), 1, PlanShape::kMaxEveryDays);
        if (!n) {
            return Translation::fill(_("invalid period '%s' (1 to 366 days)"), {*a.value("--every")});
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
            return Translation::fill(_("--until %s lies before --from %s"), {until->text(), from->text()});
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
            return Translation::fill(_("invalid size: %s"), {read.why});
        }
        c.size = read.value;
    }
    if (auto text = a.value("--rollover")) {
        if (*text != "on" && *text != "off") {
            return Translation::fill(_("invalid rollover switch '%s' (on or off)"), {*text});
        }
        c.rollover = *text == "on";
    }
    if (auto text = a.value("--free-hours")) {
        const std::optional<DataPlan::FreeHours> hours = DataPlan::FreeHours::parse(*text);
        if (*text != "off" && !hours) {
            return Translation::fill(_("invalid free hours '%s' (HH:MM-HH:MM, not empty, or off)"), {*text});
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
        return refuse(err, _("free hours are This device's plan's; a SIM's free share follows them"));
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
    // The labels in one column as wide as the longest in the user's language.
    const std::string labels[] = {_("Plan:"), _("Period:"), _("Allowance:"), _("Rollover:"), _("Free hours:")};
    std::size_t width = 0;
    for (const std::string& l : labels) {
        width = std::max(width, CtlColumns::characters(l) + 1);
    }
    const auto row = [&out, &labels, width](int i, const std::string& value) {
        out << CtlColumns::padded(labels[i], width) << value << "\n";
    };
    row(0, size(m.getMonthPlan()) + ", " + shapeText(shape));
    const std::string days = Translation::fill(ngettext("%s day", "%s days", static_cast<unsigned long>(p.length())),
                                               {std::to_string(p.length())});
    row(1, Translation::fill(_("%s to %s (%s)"), {p.first().text(), p.last().text(), days}));
    if (p.expired()) {
        out << _("The plan has expired. Set a new one with quorvelctl plan.") << "\n";
    }
    std::uint64_t packs = a.allowance - std::min(a.allowance, m.getMonthPlan() + m.rolloverForPeriod(p));
    row(2, Translation::fill(_("%s (plan %s, rollover %s, packs %s), %s left"),
                             {size(a.allowance), size(m.getMonthPlan()), size(m.rolloverForPeriod(p)), size(packs),
                              size(a.left)}));
    row(3, m.dataPlan().rolloverOn() ? _("on") : _("off"));
    row(4, free ? free->text() : std::string(_("off")));
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
            return refuse(err, Translation::fill(_("there is no pack '%s' (quorvelctl addon list numbers them from 1)"),
                                                 {a.words[1]}));
        }
        app.withStateLock([&](CTrafficManager& m) { m.removePack(static_cast<std::size_t>(*index) - 1); });
        out << Translation::fill(_("Pack %s removed."), {std::to_string(*index)}) << "\n";
        return 0;
    }
    const std::optional<std::string> sizeText = a.value("--size");
    const std::optional<std::string> daysText = a.value("--days");
    if (!sizeText || !daysText) {
        return refuse(err, _("addon add needs --size MB and --days N"));
    }
    const auto bytes = StrictEntry::megabytes(*sizeText, NumberFormat::decimalSeparator(), true);
    if (!bytes.value) {
        return refuse(err, Translation::fill(_("invalid size: %s"), {bytes.why}));
    }
    const std::optional<int> days = StrictEntry::wholeNumber(*daysText, 1, AddonPack::kMaxDays);
    if (!days) {
        return refuse(err, Translation::fill(_("invalid days '%s' (1 to 3660)"), {*daysText}));
    }
    std::optional<LocalDay> from;
    if (a.has("--from")) {
        if (auto why = dayOption(a, "--from", &from)) {
            return refuse(err, *why);
        }
    }
    CAppController& app = start();
    if (app.pmodule()->dataPlan().packs().size() >= DataPlan::kMaxPacks) {
        return refuse(err, _("there are already 100 packs; remove one first"));
    }
    const LocalDay first = from.value_or(app.pmodule()->currentDay());
    const AddonPack pack(*bytes.value, first, *days);
    app.withStateLock([&](CTrafficManager& m) { m.addPack(pack); });
    out << Translation::fill(_("Pack of %s added, valid from %s to %s."),
                             {size(pack.size()), pack.first().text(), pack.last().text()})
        << "\n";
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
        out << _("No packs.") << "\n";
    }
    for (std::size_t i = 0; i < packs.size(); ++i) {
        const std::string state = packs[i].last() < today ? std::string(_("expired"))
                                                          : Translation::fill(_("%s left"), {size(a.packLeft[i])});
        out << "  " << i + 1 << ". "
            << Translation::fill(_("%s, %s, %s to %s"),
                                 {size(packs[i].size()), state, packs[i].first().text(), packs[i].last().text()})
            << "\n";
    }
}

}  // namespace quorvel
