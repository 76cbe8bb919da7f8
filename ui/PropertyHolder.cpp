#include "ui/PropertyHolder.h"

#include "ui/PropertyTypes.h"
#include "util/Log.h"

namespace Util {

namespace {
void reportMissing(const String& name)
{
    Log::write(format("Could not find property \"%1\" to serialize", name));
}
} // namespace

const String* PropertyHolder::propertyType(const String& name) const
{
    const auto it = properties_.find(name);
    return it == properties_.end() ? nullptr : &it->second.type;
}

const PropertyValue* PropertyHolder::property(const String& name) const
{
    const auto it = properties_.find(name);
    return it == properties_.end() ? nullptr : &it->second.value;
}

std::vector<String> PropertyHolder::propertyNames() const
{
    std::vector<String> names;
    for (const auto& [name, entry] : properties_)
        names.push_back(name);
    return names;
}

void PropertyHolder::declareProperty(const String& name, const String& type, PropertyValue defaultValue)
{
    properties_[name] = Entry{type, std::move(defaultValue)};
}

bool PropertyHolder::setProperty(const String& name, const PropertyValue& value)
{
    const auto it = properties_.find(name);
    if (it == properties_.end()) {
        reportMissing(name);
        return false;
    }
    if (it->second.value.index() != value.index()) {
        Log::write(format("Deserializing property \"%1\" of type \"%2\" and value \"%3\" failed.", name,
                          it->second.type, PropertyTypes::instance().format(it->second.type, value)));
        return false;
    }
    if (it->second.value == value)
        return true;
    it->second.value = value;
    propertyChanged(name);
    return true;
}

bool PropertyHolder::setPropertyFromText(const String& name, const String& type, std::string_view text)
{
    const auto it = properties_.find(name);
    if (it == properties_.end()) {
        reportMissing(name);
        return false;
    }
    if (it->second.type != type) {
        Log::write(format("Deserializing property \"%1\" failed because type \"%2\" does not match specified type \"%3\" .",
                          name, it->second.type, type));
        return false;
    }
    const auto value = PropertyTypes::instance().parse(type, text);
    if (!value || value->index() != it->second.value.index()) {
        Log::write(format("Deserializing property \"%1\" of type \"%2\" and value \"%3\" failed.", name, type, text));
        return false;
    }
    return setProperty(name, *value);
}

std::optional<String> PropertyHolder::propertyText(const String& name) const
{
    const auto it = properties_.find(name);
    if (it == properties_.end()) {
        reportMissing(name);
        return std::nullopt;
    }
    return PropertyTypes::instance().format(it->second.type, it->second.value);
}

} // namespace Util
