// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ArchiveDecoder.hpp"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace quorvel {

namespace {
constexpr std::string_view kClassKey = "$class";
constexpr std::string_view kValuesKey = "$values";
// Instants a calendar can decompose: years 1 to 9999.
constexpr std::int64_t kEarliest = -62'135'596'800;
constexpr std::int64_t kLatest = 253'402'300'799;
}  // namespace

ArchiveDecoder::ArchiveDecoder(const nlohmann::json& node, std::string_view className, bool keyed, const Env* env)
    : node_(&node), className_(className), keyed_(keyed), env_(env)
{
}

nlohmann::json ArchiveDecoder::parse(const std::string& bytes)
{
    // A key met twice in one object would silently keep only its last value (a whole history
    // replaced by another): such a file is refused, not half-read.
    // Counted, not remembered: an object that ends with fewer members than keys met had one twice.
    std::vector<std::size_t> keys;
    bool duplicate = false;
    const nlohmann::json::parser_callback_t seen = [&](int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if (event == Event::object_start) {
            keys.push_back(0);
        } else if (event == Event::key && !keys.empty()) {
            ++keys.back();
        } else if (event == Event::object_end && !keys.empty()) {
            duplicate = duplicate || parsed.size() != keys.back();
            keys.pop_back();
        }
        return true;
    };
    nlohmann::json doc = nlohmann::json::parse(bytes, seen, false);
    if (doc.is_discarded()) {
        throw ArchiveError("not JSON");
    }
    if (duplicate) {
        throw ArchiveError("a key appears twice in one object");
    }
    return doc;
}

ArchiveDecoder ArchiveDecoder::rootDecoder(const nlohmann::json& doc, std::string_view className, const Env* env)
{
    if (!doc.is_object()) {
        throw ArchiveError("not an archive");
    }
    auto archive = doc.find("$archive");
    auto root = doc.find("$root");
    if (archive == doc.end() || *archive != "quorvel" || root == doc.end()) {
        throw ArchiveError("not an archive");
    }
    ArchiveDecoder top(doc, "", true, env);
    return top.child(*root, "$root", className);
}

ArchiveDecoder ArchiveDecoder::child(const nlohmann::json& node, std::string_view key,
                                     std::string_view expectedClass) const
{
    if (!node.is_object()) {
        fail(key, "an object");
    }
    auto cls = node.find(kClassKey);
    if (cls == node.end() || !cls->is_string()) {
        fail(key, "an object with a class");
    }
    const std::string& name = cls->get_ref<const std::string&>();
    if (!expectedClass.empty() && name != expectedClass) {
        fail(key, expectedClass);
    }
    auto values = node.find(kValuesKey);
    const bool keyed = values == node.end();
    if (!keyed && !values->is_array()) {
        fail(key, "a value list");
    }
    return ArchiveDecoder(keyed ? node : *values, name, keyed, env_);
}

const nlohmann::json* ArchiveDecoder::next(std::string_view key)
{
    const nlohmann::json* v = nullptr;
    if (keyed_) {
        auto it = node_->find(key);
        v = it == node_->end() ? nullptr : &*it;
    } else if (cursor_ < node_->size()) {
        v = &(*node_)[cursor_++];
    }
    return v == nullptr || v->is_null() ? nullptr : v;
}

void ArchiveDecoder::fail(std::string_view key, std::string_view expected) const
{
    throw ArchiveError(std::string(className_.empty() ? "archive" : className_) + "." + std::string(key) +
                       ": expected " + std::string(expected));
}

std::optional<std::int64_t> ArchiveDecoder::decodeInt64(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (v->is_number_integer() && !(v->is_number_unsigned() && v->get<std::uint64_t>() >
                                                                    static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))) {
        return v->get<std::int64_t>();
    }
    fail(key, "a signed 64-bit integer");
}

std::optional<std::uint64_t> ArchiveDecoder::decodeUInt64(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (auto value = unsignedValue(*v)) {
        return value;
    }
    fail(key, "an unsigned 64-bit integer");
}

std::optional<std::uint64_t> ArchiveDecoder::unsignedValue(const nlohmann::json& value)
{
    if (value.is_number_unsigned()) {
        return value.get<std::uint64_t>();
    }
    if (value.is_number_integer() && value.get<std::int64_t>() >= 0) {
        return static_cast<std::uint64_t>(value.get<std::int64_t>());
    }
    return std::nullopt;
}

std::optional<std::uint64_t> ArchiveDecoder::decodeByteCount(std::string_view key)
{
    const std::optional<std::uint64_t> n = decodeUInt64(key);
    if (n && *n > kMaxByteCount) {
        fail(key, "a count of bytes up to 2^53");
    }
    return n;
}

std::optional<double> ArchiveDecoder::decodeDouble(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (v->is_number()) {
        return v->get<double>();
    }
    fail(key, "a number");
}

std::optional<std::string> ArchiveDecoder::decodeString(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (v->is_string()) {
        return v->get<std::string>();
    }
    fail(key, "a text");
}

std::optional<bool> ArchiveDecoder::decodeBool(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (v->is_boolean()) {
        return v->get<bool>();
    }
    fail(key, "true or false");
}

std::optional<Date> ArchiveDecoder::decodeDate(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    if (v->is_number_integer()) {
        const std::int64_t s = v->is_number_unsigned() && v->get<std::uint64_t>() > static_cast<std::uint64_t>(kLatest)
                                   ? kLatest + 1
                                   : v->get<std::int64_t>();
        if (s >= kEarliest && s <= kLatest) {
            return Date{s};
        }
    }
    fail(key, "a date");
}

std::optional<Location> ArchiveDecoder::decodeLocation(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    ArchiveDecoder sub = child(*v, key, "CLLocation");
    Location loc;
    const auto lat = sub.decodeDouble("latitude");
    const auto lon = sub.decodeDouble("longitude");
    if (!lat || !lon) {
        fail(key, "a location with latitude and longitude");
    }
    loc.latitude = *lat;
    loc.longitude = *lon;
    loc.horizontalAccuracy = sub.decodeDouble("horizontalAccuracy").value_or(-1.0);
    loc.timestamp = sub.decodeDate("timestamp").value_or(Date{});
    if (!loc.isValid()) {
        fail(key, "a location on Earth");
    }
    return loc;
}

std::optional<DateComponents> ArchiveDecoder::decodeHourComponents(std::string_view key)
{
    const nlohmann::json* v = next(key);
    if (v == nullptr) {
        return std::nullopt;
    }
    ArchiveDecoder sub = child(*v, key, "NSDateComponents");
    const auto field = [&](std::string_view name, std::int64_t lo, std::int64_t hi) {
        const auto x = sub.decodeInt64(name);
        if (!x || *x < lo || *x > hi) {
            fail(key, "date components");
        }
        return static_cast<int>(*x);
    };
    DateComponents c;
    c.year = field("year", 1, 9999);
    c.month = field("month", 1, 12);
    c.day = field("day", 1, 31);
    c.hour = field("hour", 0, 23);
    return c;
}

}  // namespace quorvel
