// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CtlImport.hpp"

#include <fstream>
#include <ostream>
#include <sstream>

#include "cli/CtlImportReader.hpp"
#include "cli/CtlVnstat.hpp"
#include "engine/CAppController.hpp"
#include "model/FileSize.hpp"

namespace quorvel {

struct CtlImport::Settings {
    std::uint64_t plan = 0;
    std::optional<PlanShape> shape;
    std::vector<AddonPack> packs;
    std::vector<std::pair<CAppController::AlertSwitch, bool>> alerts;
};

namespace {

using Kind = HistoryImport::Kind;

std::optional<std::string> readFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "it cannot be opened";
    }
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return std::nullopt;
}

std::optional<LocalDay> dayNamed(const nlohmann::json& shape, const char* key)
{
    const nlohmann::json value = shape.value(key, nlohmann::json());
    return value.is_string() ? LocalDay::parse(value.get<std::string>()) : std::nullopt;
}

std::optional<PlanShape> shapeOf(const nlohmann::json& shape, int startDay)
{
    using K = PlanShape::Kind;
    const nlohmann::json name = shape.value("kind", nlohmann::json());
    const std::optional<K> kind = name.is_string() ? PlanShape::kindNamed(name.get<std::string>()) : std::nullopt;
    const std::optional<LocalDay> from = dayNamed(shape, "from");
    const std::optional<LocalDay> until = dayNamed(shape, "until");
    const nlohmann::json every = shape.value("every_days", nlohmann::json());
    const bool everyFits = every.is_number_unsigned() && every.get<std::uint64_t>() >= 1 &&
                           every.get<std::uint64_t>() <= PlanShape::kMaxEveryDays;
    switch (kind.value_or(K::Monthly)) {
    case K::Monthly:
        return kind ? std::optional<PlanShape>(PlanShape::monthly(startDay)) : std::nullopt;
    case K::Daily:
        return PlanShape::daily();
    case K::Every:
        return from && everyFits ? std::optional<PlanShape>(PlanShape::every(every.get<int>(), *from)) : std::nullopt;
    case K::Prepaid:
        return from && until && *until >= *from ? std::optional<PlanShape>(PlanShape::prepaid(*from, *until)) : std::nullopt;
    }
    return std::nullopt;
}

const char* many(std::size_t n, const char* one, const char* more)
{
    return n == 1 ? one : more;
}

}  // namespace

std::optional<std::string> CtlImport::readSettings(const nlohmann::json& json, Settings& s)
{
    const std::optional<std::uint64_t> plan = CtlImportReader::byteCount(json.value("plan", nlohmann::json()));
    const nlohmann::json day = json.value("start_day", nlohmann::json());
    if (!plan || *plan == 0 || !day.is_number_unsigned() || day.get<std::uint64_t>() < 1 || day.get<std::uint64_t>() > 31) {
        return "its settings have no plan or no start day from 1 to 31";
    }
    s.plan = *plan;
    s.shape = shapeOf(json.value("shape", nlohmann::json::object()), day.get<int>());
    if (!s.shape) {
        return "its settings' plan shape is not one quorvelctl plan sets";
    }
    const nlohmann::json packs = json.value("packs", nlohmann::json::array());
    for (const nlohmann::json& p : packs.is_array() ? packs : nlohmann::json::array({nullptr})) {
        const std::optional<std::uint64_t> size = p.is_object() ? CtlImportReader::byteCount(p.value("size", nlohmann::json())) : std::nullopt;
        const std::optional<LocalDay> first = p.is_object() ? dayNamed(p, "first_day") : std::nullopt;
        const nlohmann::json days = p.is_object() ? p.value("days", nlohmann::json()) : nlohmann::json();
        if (!size || *size == 0 || !first || !days.is_number_unsigned() || days.get<std::uint64_t>() < 1 ||
            days.get<std::uint64_t>() > AddonPack::kMaxDays) {
            return "a pack of its settings has no size, first day or days";
        }
        s.packs.emplace_back(*size, *first, days.get<int>());
    }
    using Switch = CAppController::AlertSwitch;
    const nlohmann::json alerts = json.value("alerts", nlohmann::json::object());
    for (const auto& [key, which] : {std::pair{"day", Switch::Day}, {"month", Switch::Month}, {"overbound", Switch::Overbound}}) {
        const nlohmann::json on = alerts.is_object() ? alerts.value(key, nlohmann::json()) : nlohmann::json();
        if (!on.is_boolean()) {
            return std::string("its settings' alert switch \"") + key + "\" is not true or false";
        }
        s.alerts.emplace_back(which, on.get<bool>());
    }
    if (s.packs.size() > DataPlan::kMaxPacks) {
        return "its settings hold more packs than a plan takes";
    }
    return std::nullopt;
}

void CtlImport::applySettings(CAppController& app, const Settings& s)
{
    app.withStateLock([&](CTrafficManager& m) {
        m.setNewPlanValue(s.plan);
        if (s.shape->kind() == PlanShape::Kind::Monthly) {
            m.setPlanStartDay(s.shape->startDay());
        } else {
            m.setPlanShape(*s.shape);
        }
        for (const AddonPack& p : s.packs) {
            const auto& have = m.dataPlan().packs();
            if (std::find(have.begin(), have.end(), p) == have.end() && have.size() < DataPlan::kMaxPacks) {
                m.addPack(p);
            }
        }
        for (const auto& [which, on] : s.alerts) {
            app.setAlertSwitch(which, on);  // inside the one change: saved with it
        }
    });
}

int CtlImport::refuse(std::ostream& err, const std::string& source, const std::string& why)
{
    err << "quorvelctl: cannot import " << source << ": " << why << "; nothing was changed\n";
    return 1;
}

int CtlImport::run(const CtlArguments& a, std::ostream& out, std::ostream& err, const StartApp& start)
{
    CtlImportReader::Read read;
    std::string source;
    if (a.has("--vnstat")) {
        source = a.words.empty() ? std::string(CtlVnstat::kDefaultDatabase) : a.words[0];
        read.error = CtlVnstat::read(source, a.value("--interface"), read.history);
    } else {
        source = a.words[0];
        std::string text;
        if (std::optional<std::string> why = readFile(source, text)) {
            return refuse(err, source, *why);
        }
        read = a.has("--csv") ? CtlImportReader::fromCsv(text) : CtlImportReader::fromJson(text);
    }
    if (!read.error.empty()) {
        return refuse(err, source, read.error);
    }
    Settings settings;
    if (a.has("--settings")) {
        if (!read.settings) {
            return refuse(err, source, "it holds no settings (an export of an older version, or not JSON)");
        }
        if (std::optional<std::string> why = readSettings(*read.settings, settings)) {
            return refuse(err, source, *why);
        }
    }
    CAppController& app = start();
    if (app.isFirstStart()) {
        err << "Quorvel is not set up yet. Run: quorvelctl setup --plan MB --start-day DAY [--used MB]\n";
        return 3;
    }
    if (std::optional<std::string> why = HistoryImport::refusal(read.history, app.today())) {
        return refuse(err, source, *why);
    }
    if (a.has("--dry-run")) {
        summarize(HistoryImport::plan(app.pmodule()->history(), read.history), true, out);
        return 0;
    }
    HistoryImport::Plan plan;
    app.withStateLock([&](CTrafficManager& m) {
        // Planned under the lock, on the history as another process may just have saved it.
        plan = HistoryImport::plan(m.history(), read.history);
        HistoryImport::apply(m.history(), plan);
        if (a.has("--settings")) {
            applySettings(app, settings);
        }
    });
    summarize(plan, false, out);
    return 0;
}

void CtlImport::summarize(const HistoryImport::Plan& plan, bool dryRun, std::ostream& out)
{
    std::size_t counts[5] = {};
    for (const HistoryImport::Change& c : plan.days) {
        ++counts[static_cast<int>(c.kind)];
    }
    std::size_t totals = 0;
    for (const HistoryImport::Change& c : plan.totals) {
        totals += c.kind == Kind::Added || c.kind == Kind::Replaced ? 1 : 0;
    }
    const std::size_t added = counts[static_cast<int>(Kind::Added)];
    const std::size_t replaced = counts[static_cast<int>(Kind::Replaced)];
    out << (dryRun ? "Would import: " : "Imported: ") << added << many(added, " day added, ", " days added, ")
        << replaced << many(replaced, " day with a larger amount, ", " days with a larger amount, ")
        << counts[static_cast<int>(Kind::KeptRecorded)] + counts[static_cast<int>(Kind::Same)] << " kept as recorded, "
        << counts[static_cast<int>(Kind::Folded)] << " in month totals; " << plan.correctionsAdded
        << many(plan.correctionsAdded, " correction, ", " corrections, ") << totals
        << many(totals, " month total, ", " month totals, ") << plan.placesChanged
        << many(plan.placesChanged, " place.\n", " places.\n");
    // A day in both: which amount stays, and the one it stays over.
    for (const HistoryImport::Change& c : plan.days) {
        if (c.kind == Kind::Replaced || c.kind == Kind::KeptRecorded) {
            const bool imported = c.kind == Kind::Replaced;
            out << c.what << ": " << (dryRun ? "would keep" : "kept") << " the " << (imported ? "imported " : "recorded ")
                << FileSize::formatMemoryStringDot1(imported ? c.imported : c.recorded) << " over the "
                << (imported ? "recorded " : "imported ") << FileSize::formatMemoryStringDot1(imported ? c.recorded : c.imported)
                << "\n";
        }
    }
    if (plan.placesDropped > 0) {
        out << plan.placesDropped << many(plan.placesDropped, " place used least recently is", " places used least recently are")
            << " not kept: the map keeps 12.\n";
    }
    if (dryRun) {
        out << "Nothing was changed (dry run).\n";
    }
}

}  // namespace quorvel
