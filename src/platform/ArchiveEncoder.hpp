// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Calendar.hpp"
#include "platform/Date.hpp"
#include "platform/Location.hpp"

namespace quorvel {

// Writes an object graph as JSON text. Every archivable object becomes
// {"$class": <its class name>, <key>: <value>...}; with the sequential coder (no keys) it becomes
// {"$class": <name>, "$values": [<value>...]} in the order the object encodes them. Numbers are
// JSON numbers, dates whole seconds since the epoch, lists JSON arrays; an absent value is left
// out (keyed) or null (sequential).
//
// An archivable class T offers `std::string_view className() const` and
// `void encodeWithCoder(ArchiveEncoder&) const`.
class ArchiveEncoder {
public:
    explicit ArchiveEncoder(bool keyed = true);

    bool allowsKeyedCoding() const { return keyed_; }

    void encodeInt64(std::string_view key, std::optional<std::int64_t> value);
    void encodeUInt64(std::string_view key, std::optional<std::uint64_t> value);
    void encodeDouble(std::string_view key, std::optional<double> value);
    void encodeString(std::string_view key, const std::optional<std::string>& value);
    void encodeBool(std::string_view key, std::optional<bool> value);
    void encodeDate(std::string_view key, std::optional<Date> value);
    void encodeLocation(std::string_view key, const std::optional<Location>& value);
    void encodeHourComponents(std::string_view key, const std::optional<DateComponents>& value);

    template <class T>
    void encodeObject(std::string_view key, const T* object)
    {
        if (object == nullptr) {
            absent(key);
            return;
        }
        valueKey(key);
        writeObject(*object);
    }

    // A list of objects; each element is an object, or a (smart) pointer to one.
    template <class List>
    void encodeObjects(std::string_view key, const List& list)
    {
        valueKey(key);
        beginArray();
        for (const auto& element : list) {
            arrayElement();
            writeObject(deref(element));
        }
        endArray();
    }

    // The finished archive with the root object at its top.
    template <class T>
    static std::string archivedDataWithRootObject(const T& root, bool keyed = true)
    {
        ArchiveEncoder e(keyed);
        e.beginRoot();
        e.writeObject(root);
        e.endRoot();
        return std::move(e.out_);
    }

private:
    template <class T>
    static const T& deref(const T& t) requires requires { t.className(); } { return t; }
    template <class P>
    static const auto& deref(const P& p) requires requires { p->className(); } { return *p; }

    template <class T>
    void writeObject(const T& object)
    {
        beginObject(object.className());
        object.encodeWithCoder(*this);
        endObject();
    }

    void absent(std::string_view key);
    void valueKey(std::string_view key);
    void beginObject(std::string_view className);
    void endObject();
    void beginArray();
    void arrayElement();
    void endArray();
    void beginRoot();
    void endRoot();
    void writeString(std::string_view s);
    void writeDouble(double v);

    bool keyed_;
    std::string out_;
    bool firstInContainer_ = true;
};

}  // namespace quorvel
