// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "model/ImportedHistory.hpp"

namespace quorvel {

// Reads what `export` wrote, every version of it: the JSON backup (months with their days and,
// later, corrections; places, settings and old months' totals when present) or the CSV columns
// (date,cellular_bytes and the newer kind, free_bytes, or the oldest wifi_bytes). Form only: a
// file that is not one is refused with what is wrong in it; the merge checks the rest.
class HistoryFileReader {
public:
    struct Read {
        ImportedHistory history;
        std::optional<nlohmann::json> settings;  // the JSON backup's, unchecked
        std::string error;                       // empty when read
    };
    static Read fromJson(std::string_view text);
    static Read fromCsv(std::string_view text);
    // A JSON count of bytes: a whole number from 0 to 2^53.
    static std::optional<std::uint64_t> byteCount(const nlohmann::json& value);

private:
    static void readMonth(const nlohmann::json& month, Read& r);
    static void readDay(const nlohmann::json& day, std::optional<std::uint64_t> plan, Read& r);
    static void readPlace(const nlohmann::json& place, Read& r);
    static void readTotal(const nlohmann::json& total, Read& r);
    static void readCsvRow(std::string_view line, const std::vector<std::string>& columns, Read& r);
};

}  // namespace quorvel
