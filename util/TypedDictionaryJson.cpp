#include "util/TypedDictionaryJson.h"

#include "util/Base64.h"

#include <json/json.h>
#include <memory>
#include <sstream>

namespace Util {

namespace {

// Values are built where they end up: assigning a finished nested value would
// copy it again at every level.
void putTyped(const TypedValue& value, Json::Value& typed);

void putDictionary(const TypedDictionary& dictionary, Json::Value& object)
{
    object = Json::Value(Json::objectValue);
    for (const auto& [key, value] : dictionary.members())
        putTyped(value, object[key]);
}

void putValue(const TypedValue& value, Json::Value& v)
{
    switch (value.type()) {
    case TypedValue::Type::UInt: v = Json::UInt64(value.asUInt()); break;
    case TypedValue::Type::Int: v = Json::Int64(value.asInt()); break;
    case TypedValue::Type::Float: v = value.asFloat(); break;
    case TypedValue::Type::Bool: v = value.asBool(); break;
    case TypedValue::Type::String: v = value.asString(); break;
    case TypedValue::Type::Base64: v = Base64::encode(value.asBytes()); break;
    case TypedValue::Type::Dictionary: putDictionary(value.asDictionary(), v); break;
    case TypedValue::Type::Array:
        v = Json::Value(Json::arrayValue);
        v.resize(Json::ArrayIndex(value.asArray().size()));
        for (Json::ArrayIndex i = 0; i < v.size(); ++i)
            putTyped(value.asArray()[i], v[i]);
        break;
    }
}

void putTyped(const TypedValue& value, Json::Value& typed)
{
    // Static names: the library keeps them without a copy of its own.
    typed = Json::Value(Json::objectValue);
    typed[Json::StaticString("Type")] = Json::StaticString(TypedValue::typeName(value.type()));
    putValue(value, typed[Json::StaticString("Value")]);
}

std::optional<TypedDictionary> fromJsonObject(const Json::Value& object, int depth);

const Json::Value* member(const Json::Value& object, std::string_view key)
{
    return object.find(key.data(), key.data() + key.size());
}

// One {"Type", "Value"} object.
std::optional<TypedValue> fromTyped(const Json::Value& typed, int depth)
{
    if (!typed.isObject())
        return std::nullopt;
    const Json::Value* typeName = member(typed, "Type");
    const Json::Value* value = member(typed, "Value");
    if (!typeName || !value || !typeName->isString())
        return std::nullopt;
    TypedValue::Type type;
    if (!TypedValue::typeFromName(typeName->asString(), type))
        return std::nullopt;
    const Json::Value& v = *value;
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
    for (auto it = object.begin(); it != object.end(); ++it) {
        auto value = fromTyped(*it, depth);
        if (!value)
            return std::nullopt;
        dictionary.set(it.name(), std::move(*value));
    }
    return dictionary;
}

// The library's writer and reader, made once per thread (making one builds its
// settings anew each time).
Json::StreamWriter& writer()
{
    thread_local const std::unique_ptr<Json::StreamWriter> writer = [] {
        Json::StreamWriterBuilder builder; // indented, one member per line
        // Texts go out byte for byte: escaped as code points, text that is not
        // valid UTF-8 (a file name, say) would come back altered.
        builder["emitUTF8"] = true;
        return std::unique_ptr<Json::StreamWriter>(builder.newStreamWriter());
    }();
    return *writer;
}

Json::CharReader& reader()
{
    thread_local const std::unique_ptr<Json::CharReader> reader = [] {
        Json::CharReaderBuilder builder;
        builder["stackLimit"] = 256;
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    return *reader;
}

} // namespace

String TypedDictionaryJson::write(const TypedDictionary& dictionary)
{
    Json::Value root;
    putDictionary(dictionary, root);
    std::ostringstream text;
    writer().write(root, &text);
    return std::move(text).str();
}

std::optional<TypedDictionary> TypedDictionaryJson::read(const String& text)
{
    Json::Value root;
    String errors;
    try {
        if (!reader().parse(text.data(), text.data() + text.size(), &root, &errors))
            return std::nullopt;
    } catch (const Json::Exception&) { // nesting beyond the stack limit is thrown, not reported
        return std::nullopt;
    }
    return fromJsonObject(root, 0);
}

} // namespace Util
