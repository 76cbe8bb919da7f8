#include "product/PluginContext.h"

namespace Context {

namespace {
constexpr const char* PropertiesKey = "Properties";
}

void PluginContext::setProperty(const Util::String& name, Util::TypedValue value)
{
    properties_.set(name, std::move(value));
    propertyChanged(name);
}

Util::TypedDictionary PluginContext::getState() const
{
    Util::TypedDictionary state;
    state.set(PropertiesKey, Util::TypedValue::fromDictionary(properties_));
    return state;
}

bool PluginContext::acceptsState(const Util::TypedDictionary& state) const
{
    const Util::TypedValue* properties = state.find(PropertiesKey);
    return !properties || properties->type() == Util::TypedValue::Type::Dictionary;
}

void PluginContext::setState(const Util::TypedDictionary& state)
{
    const Util::TypedValue* properties = state.find(PropertiesKey);
    properties_ = properties ? properties->asDictionary() : Util::TypedDictionary();
    propertyChanged({});
}

} // namespace Context
