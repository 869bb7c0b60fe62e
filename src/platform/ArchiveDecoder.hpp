// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/Calendar.hpp"
#include "platform/Date.hpp"
#include "platform/Location.hpp"

namespace quorvel {

struct Env;

// A stored archive that does not have the shape its classes expect.
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads what ArchiveEncoder wrote. Absent values (a missing key, or null) read as absent; a
// value of the wrong type, or an object of an unexpected class, throws ArchiveError, so that a
// damaged file is rejected whole instead of half-loaded.
//
// An archivable class T offers `static std::unique_ptr<T> initWithCoder(ArchiveDecoder&)`.
class ArchiveDecoder {
public:
    // Decodes the object at the top of an archive.
    template <class T>
    static std::unique_ptr<T> unarchiveRootObject(const std::string& bytes, const Env* env)
    {
        const nlohmann::json doc = parse(bytes);
        ArchiveDecoder d = rootDecoder(doc, T::kClassName, env);
        return T::initWithCoder(d);
    }

    bool allowsKeyedCoding() const { return keyed_; }
    const Env* env() const { return env_; }
    // The class name this object was stored with.
    std::string_view className() const { return className_; }

    std::optional<std::int64_t> decodeInt64(std::string_view key);
    std::optional<std::uint64_t> decodeUInt64(std::string_view key);
    // A JSON number that is a whole number from 0 to 2^64 - 1, however the parser typed it.
    static std::optional<std::uint64_t> unsignedValue(const nlohmann::json& value);
    // A stored count of bytes: unsigned and at most kMaxByteCount. A larger one was not counted
    // but typed, and its sums would wrap around.
    static constexpr std::uint64_t kMaxByteCount = std::uint64_t{1} << 53;
    std::optional<std::uint64_t> decodeByteCount(std::string_view key);
    std::optional<double> decodeDouble(std::string_view key);
    std::optional<std::string> decodeString(std::string_view key);
    std::optional<bool> decodeBool(std::string_view key);
    std::optional<Date> decodeDate(std::string_view key);
    std::optional<Location> decodeLocation(std::string_view key);
    std::optional<DateComponents> decodeHourComponents(std::string_view key);

    // An object of class T, or null when absent.
    template <class T>
    std::unique_ptr<T> decodeObject(std::string_view key)
    {
        const nlohmann::json* v = next(key);
        if (v == nullptr) {
            return nullptr;
        }
        ArchiveDecoder sub = child(*v, key, T::kClassName);
        return T::initWithCoder(sub);
    }

    // A list of objects: each element's decoder goes to `element`, which sees its class name.
    // Absent gives false, a list gives true.
    template <class F>
    bool decodeObjects(std::string_view key, F&& element)
    {
        const nlohmann::json* v = next(key);
        if (v == nullptr) {
            return false;
        }
        if (!v->is_array()) {
            fail(key, "a list");
        }
        for (const nlohmann::json& item : *v) {
            ArchiveDecoder sub = child(item, key, {});
            element(sub);
        }
        return true;
    }

    [[noreturn]] void fail(std::string_view key, std::string_view expected) const;

private:
    ArchiveDecoder(const nlohmann::json& node, std::string_view className, bool keyed, const Env* env);
    static nlohmann::json parse(const std::string& bytes);
    static ArchiveDecoder rootDecoder(const nlohmann::json& doc, std::string_view className, const Env* env);
    // Decoder for a nested object; an empty expected class accepts any class.
    ArchiveDecoder child(const nlohmann::json& node, std::string_view key, std::string_view expectedClass) const;
    // The next value: by key, or the next in sequence; null when absent.
    const nlohmann::json* next(std::string_view key);

    const nlohmann::json* node_;
    std::string className_;
    bool keyed_;
    const Env* env_;
    std::size_t cursor_ = 0;
};

}  // namespace quorvel
