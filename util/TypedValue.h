#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <variant>
#include <vector>

#include "util/Text.h"

namespace Util {

class TypedDictionary;

// One value of a typed dictionary: UInt, Int, Float, Bool, String, Base64 (raw
// bytes), Dictionary or Array. [any-thread], not shared between threads.
class TypedValue {
public:
    enum class Type { UInt = 0, Int = 1, Float = 2, Bool = 3, String = 4, Base64 = 5, Dictionary = 6, Array = 7 };
    struct Bytes {
        std::vector<uint8_t> data;
        bool operator==(const Bytes&) const = default;
    };
    using Array = std::vector<TypedValue>;

    TypedValue() : value_(uint64_t(0)) {}
    static TypedValue fromUInt(uint64_t v) { return TypedValue(Storage(v)); }
    static TypedValue fromInt(int64_t v) { return TypedValue(Storage(v)); }
    static TypedValue fromFloat(double v) { return TypedValue(Storage(v)); }
    static TypedValue fromBool(bool v) { return TypedValue(Storage(v)); }
    static TypedValue fromString(String v) { return TypedValue(Storage(std::move(v))); }
    static TypedValue fromBytes(std::vector<uint8_t> v) { return TypedValue(Storage(Bytes{std::move(v)})); }
    static TypedValue fromDictionary(TypedDictionary v);
    static TypedValue fromArray(Array v) { return TypedValue(Storage(std::move(v))); }

    Type type() const { return Type(value_.index()); }
    static const char* typeName(Type type);
    static bool typeFromName(const String& name, Type& type);

    uint64_t asUInt() const { return std::get<uint64_t>(value_); }
    int64_t asInt() const { return std::get<int64_t>(value_); }
    double asFloat() const { return std::get<double>(value_); }
    bool asBool() const { return std::get<bool>(value_); }
    const String& asString() const { return std::get<String>(value_); }
    const std::vector<uint8_t>& asBytes() const { return std::get<Bytes>(value_).data; }
    const TypedDictionary& asDictionary() const { return *std::get<std::shared_ptr<TypedDictionary>>(value_); }
    const Array& asArray() const { return std::get<Array>(value_); }

    bool operator==(const TypedValue& other) const;

private:
    using Storage = std::variant<uint64_t, int64_t, double, bool, String, Bytes, std::shared_ptr<TypedDictionary>, Array>;
    explicit TypedValue(Storage v) : value_(std::move(v)) {}
    Storage value_;
};

// A key-ordered map of typed values, the form of the saved state.
class TypedDictionary {
public:
    void set(const String& key, TypedValue value) { members_[key] = std::move(value); }
    const TypedValue* find(const String& key) const;
    bool contains(const String& key) const { return members_.count(key) > 0; }
    const std::map<String, TypedValue>& members() const { return members_; }
    size_t size() const { return members_.size(); }
    bool operator==(const TypedDictionary&) const = default;

private:
    std::map<String, TypedValue> members_;
};

} // namespace Util
