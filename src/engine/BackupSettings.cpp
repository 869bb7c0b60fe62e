// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BackupSettings.hpp"

#include <algorithm>

#include "engine/CAppController.hpp"
#include "engine/HistoryFileReader.hpp"
#include "model/DataPlan.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

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

}  // namespace

std::optional<BackupSettings> BackupSettings::read(const nlohmann::json& json, std::string& why)
{
    BackupSettings s;
    const std::optional<std::uint64_t> plan = HistoryFileReader::byteCount(json.value("plan", nlohmann::json()));
    const nlohmann::json day = json.value("start_day", nlohmann::json());
    if (!plan || *plan == 0 || !day.is_number_unsigned() || day.get<std::uint64_t>() < 1 || day.get<std::uint64_t>() > 31) {
        why = _("its settings have no plan or no start day from 1 to 31");
        return std::nullopt;
    }
    s.plan_ = *plan;
    s.shape_ = shapeOf(json.value("shape", nlohmann::json::object()), day.get<int>());
    if (!s.shape_) {
        why = _("its settings' plan shape is not one quorvelctl plan sets");
        return std::nullopt;
    }
    std::optional<std::string> wrong = s.readPacks(json.value("packs", nlohmann::json::array()));
    if (!wrong) {
        wrong = s.readAlerts(json.value("alerts", nlohmann::json::object()));
    }
    if (wrong) {
        why = *wrong;
        return std::nullopt;
    }
    return s;
}

std::optional<std::string> BackupSettings::readPacks(const nlohmann::json& packs)
{
    for (const nlohmann::json& p : packs.is_array() ? packs : nlohmann::json::array({nullptr})) {
        const std::optional<std::uint64_t> size =
            p.is_object() ? HistoryFileReader::byteCount(p.value("size", nlohmann::json())) : std::nullopt;
        const std::optional<LocalDay> first = p.is_object() ? dayNamed(p, "first_day") : std::nullopt;
        const nlohmann::json days = p.is_object() ? p.value("days", nlohmann::json()) : nlohmann::json();
        if (!size || *size == 0 || !first || !days.is_number_unsigned() || days.get<std::uint64_t>() < 1 ||
            days.get<std::uint64_t>() > AddonPack::kMaxDays) {
            return std::string(_("a pack of its settings has no size, first day or days"));
        }
        packs_.emplace_back(*size, *first, days.get<int>());
    }
    if (packs_.size() > DataPlan::kMaxPacks) {
        return std::string(_("its settings hold more packs than a plan takes"));
    }
    return std::nullopt;
}

std::optional<std::string> BackupSettings::readAlerts(const nlohmann::json& alerts)
{
    using Switch = AppActions::AlertSwitch;
    for (const auto& [key, which] :
         {std::pair{"day", Switch::Day}, {"month", Switch::Month}, {"overbound", Switch::Overbound}}) {
        const nlohmann::json on = alerts.is_object() ? alerts.value(key, nlohmann::json()) : nlohmann::json();
        if (!on.is_boolean()) {
            return Translation::fill(_("its settings' alert switch \"%s\" is not true or false"), {key});
        }
        alerts_.emplace_back(which, on.get<bool>());
    }
    return std::nullopt;
}

void BackupSettings::applyTo(CAppController& app, CTrafficManager& m) const
{
    m.setNewPlanValue(plan_);
    if (shape_->kind() == PlanShape::Kind::Monthly) {
        m.setPlanStartDay(shape_->startDay());
    } else {
        m.setPlanShape(*shape_);
    }
    for (const AddonPack& p : packs_) {
        const auto& have = m.dataPlan().packs();
        if (std::find(have.begin(), have.end(), p) == have.end() && have.size() < DataPlan::kMaxPacks) {
            m.addPack(p);
        }
    }
    for (const auto& [which, on] : alerts_) {
        app.setAlertSwitch(which, on);  // inside the one change: saved with it
    }
}

}  // namespace quorvel
