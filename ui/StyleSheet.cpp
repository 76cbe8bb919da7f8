#include "ui/StyleSheet.h"

#include "ui/PropertyTypes.h"
#include "ui/ResourceManager.h"
#include "util/Log.h"

#include <json/reader.h>

#include <memory>

namespace UI {

namespace {
Util::String valueText(const Json::Value& value)
{
    if (value.isBool())
        return value.asBool() ? "true" : "false";
    if (value.isIntegral() || value.isDouble() || value.isString())
        return value.asString();
    return {};
}
} // namespace

bool StyleSheet::load(const Util::String& resourcePath)
{
    const auto data = ResourceManager::instance().find(resourcePath);
    if (!data) {
        Util::Log::write(Util::format("Can't load style sheet [%1]. This is case-sensitive.", resourcePath));
        return false;
    }
    return parse(std::string_view(reinterpret_cast<const char*>(data->bytes.data()), data->bytes.size()), resourcePath);
}

bool StyleSheet::parse(std::string_view json, const Util::String& sourceName)
{
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    Util::String errors;
    if (!reader->parse(json.data(), json.data() + json.size(), &root, &errors) || !root.isObject()) {
        Util::Log::write(Util::format("Style sheet %1 is not valid: %2", sourceName, errors));
        return false;
    }
    const Json::Value& classes = root["Classes"];
    if (!classes.isArray()) {
        Util::Log::write(Util::format("Style sheet %1 has no Classes", sourceName));
        return false;
    }
    for (const Json::Value& item : classes) {
        const Json::Value& className = item["ClassName"];
        if (className.isNull() || !item["Properties"].isArray())
            continue;
        for (const Json::Value& property : item["Properties"]) {
            const Json::Value& name = property["PropertyName"];
            if (name.isNull())
                continue;
            entries_[{className.asString(), name.asString()}] =
                Entry{name.asString(), property["PropertyType"].asString(), valueText(property["Value"])};
        }
    }
    return true;
}

std::optional<Util::PropertyValue> StyleSheet::classDefault(const Util::String& className, const Util::String& property,
                                                            const Util::String& type)
{
    const auto key = std::make_pair(className, property);
    const auto it = entries_.find(key);
    if (it == entries_.end())
        return std::nullopt;
    const bool firstTime = reported_.insert(key).second;
    if (it->second.type != type) {
        if (firstTime)
            Util::Log::write(Util::format("For property %1 style sheet has type %2 but your type is %3", property,
                                          it->second.type, type));
        return std::nullopt;
    }
    auto value = Util::PropertyTypes::instance().parse(type, it->second.value);
    if (!value && firstTime)
        Util::Log::write(Util::format("Deserializing property \"%1\" of type \"%2\" and value \"%3\" failed.", property,
                                      type, it->second.value));
    return value;
}

std::vector<StyleSheet::Entry> StyleSheet::classEntries(const Util::String& className) const
{
    std::vector<Entry> result;
    for (auto it = entries_.lower_bound({className, Util::String()}); it != entries_.end() && it->first.first == className;
         ++it)
        result.push_back(it->second);
    return result;
}

} // namespace UI
