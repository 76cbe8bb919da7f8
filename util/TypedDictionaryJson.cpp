#include "util/TypedDictionaryJson.h"

#include "util/Base64.h"

#include <json/json.h>
#include <memory>
#include <sstream>

namespace Util {

namespace {

Json::Value toJson(const TypedDictionary& dictionary);

Json::Value toJson(const TypedValue& value)
{
    Json::Value v;
    switch (value.type()) {
    case TypedValue::Type::UInt: v = Json::UInt64(value.asUInt()); break;
    case TypedValue::Type::Int: v = Json::Int64(value.asInt()); break;
    case TypedValue::Type::Float: v = value.asFloat(); break;
    case TypedValue::Type::Bool: v = value.asBool(); break;
    case TypedValue::Type::String: v = value.asString(); break;
    case TypedValue::Type::Base64: v = Base64::encode(value.asBytes()); break;
    case TypedValue::Type::Dictionary: v = toJson(value.asDictionary()); break;
    case TypedValue::Type::Array:
        v = Json::Value(Json::arrayValue);
        for (const auto& element : value.asArray()) {
            Json::Value typed(Json::objectValue);
            typed["Type"] = TypedValue::typeName(element.type());
            typed["Value"] = toJson(element);
            v.append(typed);
        }
        break;
    }
    return v;
}

Json::Value toJson(const TypedDictionary& dictionary)
{
    Json::Value object(Json::objectValue);
    for (const auto& [key, value] : dictionary.members()) {
        Json::Value typed(Json::objectValue);
        typed["Type"] = TypedValue::typeName(value.type());
        typed["Value"] = toJson(value);
        object[key] = typed;
    }
    return object;
}

std::optional<TypedDictionary> fromJsonObject(const Json::Value& object, int depth);

// One {"Type", "Value"} object.
std::optional<TypedValue> fromTyped(const Json::Value& typed, int depth)
{
    if (!typed.isObject() || !typed.isMember("Type") || !typed.isMember("Value") || !typed["Type"].isString())
        return std::nullopt;
    TypedValue::Type type;
    if (!TypedValue::typeFromName(typed["Type"].asString(), type))
        return std::nullopt;
    const Json::Value& v = typed["Value"];
    switch (type) {
    case TypedValue::Type::UInt:
        if (!v.isUInt64())
            return std::nullopt;
        return TypedValue::fromUInt(v.asUInt64());
    case TypedValue::Type::Int:
        if (!v.isInt64())
            return std::nullopt;
        return TypedValue::fromInt(v.asInt64());
    case TypedValue::Type::Float:
        if (!v.isNumeric())
            return std::nullopt;
        return TypedValue::fromFloat(v.asDouble());
    case TypedValue::Type::Bool:
        if (!v.isBool())
            return std::nullopt;
        return TypedValue::fromBool(v.asBool());
    case TypedValue::Type::String:
        if (!v.isString())
            return std::nullopt;
        return TypedValue::fromString(v.asString());
    case TypedValue::Type::Base64: {
        if (!v.isString())
            return std::nullopt;
        auto bytes = Base64::decode(v.asString());
        if (!bytes)
            return std::nullopt;
        return TypedValue::fromBytes(std::move(*bytes));
    }
    case TypedValue::Type::Dictionary: {
        auto nested = fromJsonObject(v, depth + 1);
        if (!nested)
            return std::nullopt;
        return TypedValue::fromDictionary(std::move(*nested));
    }
    case TypedValue::Type::Array: {
        if (!v.isArray())
            return std::nullopt;
        TypedValue::Array array;
        for (const auto& element : v) {
            auto value = fromTyped(element, depth + 1);
            if (!value)
                return std::nullopt;
            array.push_back(std::move(*value));
        }
        return TypedValue::fromArray(std::move(array));
    }
    }
    return std::nullopt;
}

std::optional<TypedDictionary> fromJsonObject(const Json::Value& object, int depth)
{
    constexpr int MaxDepth = 64; // deeper nesting is no state we ever wrote
    if (!object.isObject() || depth > MaxDepth)
        return std::nullopt;
    TypedDictionary dictionary;
    for (const auto& key : object.getMemberNames()) {
        auto value = fromTyped(object[key], depth);
        if (!value)
            return std::nullopt;
        dictionary.set(key, std::move(*value));
    }
    return dictionary;
}

} // namespace

String TypedDictionaryJson::write(const TypedDictionary& dictionary)
{
    Json::StreamWriterBuilder builder; // indented, one member per line
    // Texts go out byte for byte: escaped as code points, text that is not
    // valid UTF-8 (a file name, say) would come back altered.
    builder["emitUTF8"] = true;
    return Json::writeString(builder, toJson(dictionary));
}

std::optional<TypedDictionary> TypedDictionaryJson::read(const String& text)
{
    Json::CharReaderBuilder builder;
    builder["stackLimit"] = 256;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    String errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors))
            return std::nullopt;
    } catch (const Json::Exception&) { // nesting beyond the stack limit is thrown, not reported
        return std::nullopt;
    }
    return fromJsonObject(root, 0);
}

} // namespace Util
