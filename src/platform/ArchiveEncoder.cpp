// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ArchiveEncoder.hpp"

#include <charconv>
#include <cmath>

namespace quorvel {

namespace {

template <class Int>
void appendInt(std::string& out, Int v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

}  // namespace

ArchiveEncoder::ArchiveEncoder(bool keyed) : keyed_(keyed)
{
    out_.reserve(32 * 1024);
}

void ArchiveEncoder::beginRoot()
{
    out_ += "{\"$archive\":\"quorvel\",\"$version\":1,\"$root\":";
}

void ArchiveEncoder::endRoot()
{
    out_ += "}\n";
}

void ArchiveEncoder::writeString(std::string_view s)
{
    out_ += '"';
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out_ += "\\u00";
            out_ += kHex[u >> 4];
            out_ += kHex[u & 0xF];
        } else {
            out_ += c;
        }
    }
    out_ += '"';
}

void ArchiveEncoder::writeDouble(double v)
{
    if (!std::isfinite(v)) {
        out_ += "null";  // JSON has no infinities; read back as absent
        return;
    }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, r.ptr);
}

void ArchiveEncoder::beginObject(std::string_view className)
{
    out_ += "{\"$class\":";
    writeString(className);
    if (!keyed_) {
        out_ += ",\"$values\":[";
        firstInContainer_ = true;
    } else {
        firstInContainer_ = false;  // "$class" came first
    }
}

void ArchiveEncoder::endObject()
{
    out_ += keyed_ ? "}" : "]}";
    firstInContainer_ = false;
}

void ArchiveEncoder::beginArray()
{
    out_ += '[';
    firstInContainer_ = true;
}

void ArchiveEncoder::arrayElement()
{
    if (!firstInContainer_) {
        out_ += ',';
    }
    firstInContainer_ = false;
}

void ArchiveEncoder::endArray()
{
    out_ += ']';
    firstInContainer_ = false;
}

void ArchiveEncoder::valueKey(std::string_view key)
{
    if (!firstInContainer_) {
        out_ += ',';
    }
    firstInContainer_ = false;
    if (keyed_) {
        writeString(key);
        out_ += ':';
    }
}

void ArchiveEncoder::absent(std::string_view key)
{
    if (!keyed_) {
        valueKey(key);
        out_ += "null";
    }
}

void ArchiveEncoder::encodeInt64(std::string_view key, std::optional<std::int64_t> value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    appendInt(out_, *value);
}

void ArchiveEncoder::encodeString(std::string_view key, const std::optional<std::string>& value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    writeString(*value);
}

void ArchiveEncoder::encodeBool(std::string_view key, std::optional<bool> value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    out_ += *value ? "true" : "false";
}

void ArchiveEncoder::encodeUInt64(std::string_view key, std::optional<std::uint64_t> value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    appendInt(out_, *value);
}

void ArchiveEncoder::encodeDouble(std::string_view key, std::optional<double> value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    writeDouble(*value);
}

void ArchiveEncoder::encodeDate(std::string_view key, std::optional<Date> value)
{
    encodeInt64(key, value ? std::optional<std::int64_t>(value->seconds) : std::nullopt);
}

void ArchiveEncoder::encodeLocation(std::string_view key, const std::optional<Location>& value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    out_ += "{\"$class\":\"CLLocation\",\"latitude\":";
    writeDouble(value->latitude);
    out_ += ",\"longitude\":";
    writeDouble(value->longitude);
    out_ += ",\"horizontalAccuracy\":";
    writeDouble(value->horizontalAccuracy);
    out_ += ",\"timestamp\":";
    appendInt(out_, value->timestamp.seconds);
    out_ += '}';
}

void ArchiveEncoder::encodeHourComponents(std::string_view key, const std::optional<DateComponents>& value)
{
    if (!value) {
        absent(key);
        return;
    }
    valueKey(key);
    out_ += "{\"$class\":\"NSDateComponents\",\"year\":";
    appendInt(out_, value->year);
    out_ += ",\"month\":";
    appendInt(out_, value->month);
    out_ += ",\"day\":";
    appendInt(out_, value->day);
    out_ += ",\"hour\":";
    appendInt(out_, value->hour);
    out_ += '}';
}

}  // namespace quorvel
