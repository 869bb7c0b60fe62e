// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "model/AddonPack.hpp"
#include "model/DataPlan.hpp"
#include "model/LocalDay.hpp"
#include "model/PlanShape.hpp"

namespace quorvel {

// How the plan page and the "Data Packs" page read their fields, and the texts they show. A
// refused entry comes back with what was wrong, for the page to tell beside the fields; nothing
// refused reaches the model.
class PlanEntries {
public:
    template <class T>
    struct Read {
        std::optional<T> value;
        std::string why;  // empty when taken
    };
    // The fields of the plan page, as typed; only those of `kind` are read.
    struct ShapeFields {
        PlanShape::Kind kind = PlanShape::Kind::Monthly;
        std::string startDay;
        std::string everyDays;
        std::string from;
        std::string until;
    };

    static Read<PlanShape> shape(const ShapeFields& fields);
    // A pack of `sizeMB` megabytes valid `days` days from `from` (empty: today).
    static Read<AddonPack> pack(std::string_view sizeMB, std::string_view days, std::string_view from, LocalDay today);
    static Read<DataPlan::FreeHours> freeHours(std::string_view start, std::string_view end);

    // The fields that show a shape; for the other kinds' fields, what a change to them suggests.
    static ShapeFields fieldsOf(const PlanShape& shape, LocalDay today);
    // "Monthly", "Every N days", "Daily", "Prepaid": the choices, in Kind's order.
    static const char* kindTitle(PlanShape::Kind kind);
    // One line for the settings' row: "Every 28 days from 2026-12-01".
    static std::string shapeSummary(const PlanShape& shape);
    // "1 GB · 300 MB left · until 2026-12-16", or "... · expired" once its last day is past.
    static std::string packSummary(const AddonPack& pack, std::uint64_t left, LocalDay today);
};

}  // namespace quorvel
