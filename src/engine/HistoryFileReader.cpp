// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/HistoryFileReader.hpp"

#include <algorithm>
#include <charconv>

#include "platform/ArchiveDecoder.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

// A refusal carrying what is wrong, thrown while reading and caught once at the top.
struct Refused {
    std::string why;
};

[[noreturn]] void refuse(const std::string& why)
{
    throw Refused{why};
}

const nlohmann::json& member(const nlohmann::json& object, const char* key, const std::string& where)
{
    if (!object.is_object() || !object.contains(key)) {
        refuse(Translation::fill(_("%s has no \"%s\""), {where, key}));
    }
    return object.at(key);
}

std::uint64_t bytesOf(const nlohmann::json& object, const char* key, const std::string& where, bool required = false)
{
    if (!object.contains(key) || (!required && object.at(key).is_null())) {
        if (required) {
            refuse(Translation::fill(_("%s has no \"%s\""), {where, key}));
        }
        return 0;
    }
    const std::optional<std::uint64_t> n = HistoryFileReader::byteCount(object.at(key));
    if (!n) {
        refuse(Translation::fill(_("%s: \"%s\" is not a count of bytes from 0 to 2^53"), {where, key}));
    }
    return *n;
}

LocalDay dayOf(const nlohmann::json& object, const std::string& where)
{
    const nlohmann::json& text = member(object, "date", where);
    const std::optional<LocalDay> day = text.is_string() ? LocalDay::parse(text.get<std::string>()) : std::nullopt;
    if (!day) {
        refuse(Translation::fill(_("%s: \"date\" is not a day YYYY-MM-DD"), {where}));
    }
    return *day;
}

std::optional<std::int64_t> signedBytes(std::string_view text)
{
    std::int64_t n = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
    constexpr auto kMost = static_cast<std::int64_t>(ArchiveDecoder::kMaxByteCount);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || text.empty() || n < -kMost || n > kMost) {
        return std::nullopt;
    }
    return n;
}

std::optional<std::uint64_t> unsignedBytes(std::string_view text)
{
    const std::optional<std::int64_t> n = signedBytes(text);
    return n && *n >= 0 && text[0] != '-' ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*n)) : std::nullopt;
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    for (std::size_t at = 0;;) {
        const std::size_t comma = line.find(',', at);
        out.push_back(line.substr(at, comma == std::string_view::npos ? std::string_view::npos : comma - at));
        if (comma == std::string_view::npos) {
            return out;
        }
        at = comma + 1;
    }
}

}  // namespace

std::optional<std::uint64_t> HistoryFileReader::byteCount(const nlohmann::json& value)
{
    if (!value.is_number_unsigned() || value.get<std::uint64_t>() > ArchiveDecoder::kMaxByteCount) {
        return std::nullopt;
    }
    return value.get<std::uint64_t>();
}

HistoryFileReader::Read HistoryFileReader::fromJson(std::string_view text)
{
    Read r;
    const nlohmann::json doc = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded()) {
        r.error = _("it is not JSON (cut short, or not a file of quorvelctl export --json)");
        return r;
    }
    try {
        if (!doc.is_object() || !doc.contains("months") || !doc.at("months").is_array()) {
            refuse(_("it is not a Quorvel export: it has no list of \"months\""));
        }
        for (const nlohmann::json& month : doc.at("months")) {
            readMonth(month, r);
        }
        for (const char* list : {"places", "month_totals"}) {
            if (doc.contains(list) && !doc.at(list).is_array()) {
                refuse(Translation::fill(_("\"%s\" is not a list"), {list}));
            }
        }
        for (const nlohmann::json& place : doc.value("places", nlohmann::json::array())) {
            readPlace(place, r);
        }
        for (const nlohmann::json& total : doc.value("month_totals", nlohmann::json::array())) {
            readTotal(total, r);
        }
        if (doc.contains("settings")) {
            r.settings = doc.at("settings");
        }
    } catch (const Refused& e) {
        r.error = e.why;
    }
    return r;
}

void HistoryFileReader::readMonth(const nlohmann::json& month, Read& r)
{
    const std::string where = _("a month");
    if (!member(month, "month", where).is_string() || !member(month, "days", where).is_array()) {
        refuse(_("a month's \"month\" is not a name or its \"days\" not a list"));
    }
    const std::string monthName = month.at("month").get<std::string>();
    const std::string name = Translation::fill(_("the month %s"), {monthName});
    const std::uint64_t plan = bytesOf(month, "plan", name);
    for (const nlohmann::json& day : month.at("days")) {
        readDay(day, plan != 0 ? std::optional<std::uint64_t>(plan) : std::nullopt, r);
    }
    if (!month.contains("corrections")) {
        return;  // written before corrections were kept
    }
    if (!month.at("corrections").is_array()) {
        refuse(Translation::fill(_("%s: \"corrections\" is not a list"), {name}));
    }
    for (const nlohmann::json& c : month.at("corrections")) {
        const LocalDay day = dayOf(c, Translation::fill(_("a correction of the month %s"), {monthName}));
        const std::string correction = Translation::fill(_("the correction of %s"), {day.text()});
        const nlohmann::json& bytes = member(c, "bytes", correction);
        constexpr auto kMost = static_cast<std::int64_t>(ArchiveDecoder::kMaxByteCount);
        std::optional<std::int64_t> n;
        if (bytes.is_number_unsigned() && byteCount(bytes)) {
            n = static_cast<std::int64_t>(bytes.get<std::uint64_t>());
        } else if (bytes.is_number_integer() && !bytes.is_number_unsigned() && bytes.get<std::int64_t>() >= -kMost) {
            n = bytes.get<std::int64_t>();
        }
        if (!n) {
            refuse(Translation::fill(_("%s: \"bytes\" is not a signed count up to 2^53"), {correction}));
        }
        r.history.corrections.emplace_back(day.noon(), *n);
    }
}

void HistoryFileReader::readDay(const nlohmann::json& day, std::optional<std::uint64_t> plan, Read& r)
{
    const LocalDay d = dayOf(day, _("a day"));
    const std::string where = Translation::fill(_("the day %s"), {d.text()});
    const std::uint64_t bytes = bytesOf(day, "bytes", where, true);
    const std::uint64_t roaming = bytesOf(day, "roaming_bytes", where);
    const std::uint64_t entered = bytesOf(day, "entered_bytes", where);
    const std::uint64_t free = bytesOf(day, "free_bytes", where);
    if (roaming > bytes || entered > bytes || free > bytes) {
        refuse(Translation::fill(_("%s: a share (roaming, entered or free bytes) is above its bytes"), {where}));
    }
    r.history.days.push_back(
        {d, CTrafficPoint::withShares(d.noon(), bytes, roaming, entered, free, bytesOf(day, "wifi_bytes", where)), plan});
}

void HistoryFileReader::readPlace(const nlohmann::json& place, Read& r)
{
    const std::string where = _("a place");
    const nlohmann::json& lat = member(place, "latitude", where);
    const nlohmann::json& lon = member(place, "longitude", where);
    Location l;
    if (!lat.is_number() || !lon.is_number()) {
        refuse(_("a place's latitude or longitude is not a number"));
    }
    l.latitude = lat.get<double>();
    l.longitude = lon.get<double>();
    l.horizontalAccuracy = 10.0;
    if (!l.isValid()) {
        refuse(_("a place lies outside the globe's degrees"));
    }
    DeltaTrafficItem item;
    item.pLocation = l;
    item.pDelta = static_cast<std::int64_t>(bytesOf(place, "bytes", where, true));
    const nlohmann::json latest = place.value("latest", nlohmann::json());
    if (!latest.is_null()) {
        const std::string text = latest.is_string() ? latest.get<std::string>() : std::string();
        const std::optional<LocalDay> day = text.size() == 13 && text[10] == 'T' ? LocalDay::parse(text.substr(0, 10)) : std::nullopt;
        const std::optional<std::int64_t> hour = day ? signedBytes(text.substr(11)) : std::nullopt;
        if (!hour || *hour < 0 || *hour > 23) {
            refuse(_("a place's \"latest\" is not an hour YYYY-MM-DDTHH"));
        }
        item.pDateComp = DateComponents{day->year(), day->month(), day->day(), static_cast<int>(*hour), 0, 0};
    }
    r.history.places.push_back(item);
}

void HistoryFileReader::readTotal(const nlohmann::json& total, Read& r)
{
    const nlohmann::json& name = member(total, "month", _("a month total"));
    const std::optional<MonthTotal> month = name.is_string() ? MonthTotal::parseMonth(name.get<std::string>()) : std::nullopt;
    if (!month) {
        refuse(_("a month total's \"month\" is not a month YYYY-MM"));
    }
    const std::string where = Translation::fill(_("the month total %s"), {month->text()});
    const std::uint64_t plan = bytesOf(total, "plan", where);
    r.history.totals.emplace_back(month->year(), month->month(), bytesOf(total, "used_bytes", where, true),
                                  bytesOf(total, "free_bytes", where), bytesOf(total, "roaming_bytes", where),
                                  plan != 0 ? std::optional<std::uint64_t>(plan) : std::nullopt);
}

HistoryFileReader::Read HistoryFileReader::fromCsv(std::string_view text)
{
    Read r;
    r.history.sharesKnown = false;
    const std::size_t end = text.find('\n');
    std::vector<std::string> columns;
    for (std::string_view f : fields(text.substr(0, end))) {
        columns.emplace_back(f);
    }
    if (columns.size() < 2 || columns[0] != "date" || columns[1] != "cellular_bytes") {
        r.error = _("it is not a Quorvel CSV export: its first line is not date,cellular_bytes...");
        return r;
    }
    if (end == std::string_view::npos || text.back() != '\n') {
        r.error = _("its last line is cut short");
        return r;
    }
    try {
        for (std::size_t at = end + 1; at < text.size();) {
            const std::size_t next = text.find('\n', at);
            readCsvRow(text.substr(at, next - at), columns, r);
            at = next + 1;
        }
    } catch (const Refused& e) {
        r.error = e.why;
    }
    return r;
}

void HistoryFileReader::readCsvRow(std::string_view line, const std::vector<std::string>& columns, Read& r)
{
    const std::vector<std::string_view> f = fields(line);
    if (f.size() != columns.size()) {
        refuse(Translation::fill(_("the line \"%s\" has not %s columns"), {std::string(line), std::to_string(columns.size())}));
    }
    const auto column = [&](const char* name) -> std::optional<std::string_view> {
        const auto at = std::find(columns.begin(), columns.end(), name);
        return at != columns.end() ? std::optional<std::string_view>(f[at - columns.begin()]) : std::nullopt;
    };
    const std::string kind(column("kind").value_or("day"));
    const std::string where = Translation::fill(_("the line \"%s\""), {std::string(line)});
    if (kind == "month_total") {
        const std::optional<MonthTotal> month = MonthTotal::parseMonth(f[0]);
        const std::optional<std::uint64_t> used = unsignedBytes(f[1]);
        const std::optional<std::uint64_t> free = unsignedBytes(column("free_bytes").value_or("0"));
        if (!month || !used || !free) {
            refuse(Translation::fill(_("%s: not a month YYYY-MM and counts of bytes"), {where}));
        }
        r.history.totals.emplace_back(month->year(), month->month(), *used, *free, 0, std::nullopt);
        return;
    }
    const std::optional<LocalDay> day = LocalDay::parse(f[0]);
    if (!day) {
        refuse(Translation::fill(_("%s: the date is not a day YYYY-MM-DD"), {where}));
    }
    if (kind == "correction") {
        const std::optional<std::int64_t> n = signedBytes(f[1]);
        if (!n) {
            refuse(Translation::fill(_("%s: the correction is not a signed count of bytes up to 2^53"), {where}));
        }
        r.history.corrections.emplace_back(day->noon(), *n);
        return;
    }
    const std::optional<std::uint64_t> bytes = unsignedBytes(f[1]);
    const std::optional<std::uint64_t> free = unsignedBytes(column("free_bytes").value_or("0"));
    if (kind != "day" || !bytes || !free || *free > *bytes) {
        refuse(Translation::fill(_("%s: not a day's count of bytes from 0 to 2^53"), {where}));
    }
    r.history.days.push_back({*day, CTrafficPoint::withShares(day->noon(), *bytes, 0, 0, *free), std::nullopt});
}

}  // namespace quorvel
