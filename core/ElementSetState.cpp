#include "core/ElementSetState.h"

#include "param/ControllerSet.h"
#include "param/Param.h"
#include "dsp/DSPSetImpl.h"
#include "dsp/Element.h"

#include <limits>
#include <map>

using Util::TypedDictionary;
using Util::TypedValue;

namespace {

constexpr const char* ElementsKey = "DSP Elements";

TypedValue typed(const DSP::ParamValue& value)
{
    if (const auto* f = std::get_if<float>(&value))
        return TypedValue::fromFloat(*f);
    if (const auto* b = std::get_if<bool>(&value))
        return TypedValue::fromBool(*b);
    return TypedValue::fromUInt(std::get<uint32_t>(value));
}

std::optional<uint32_t> unsignedOf(const TypedValue& value)
{
    constexpr auto Max = std::numeric_limits<uint32_t>::max();
    if (value.type() == TypedValue::Type::UInt && value.asUInt() <= Max)
        return uint32_t(value.asUInt());
    if (value.type() == TypedValue::Type::Int && value.asInt() >= 0 && uint64_t(value.asInt()) <= Max)
        return uint32_t(value.asInt());
    return std::nullopt;
}

// The value in the parameter's type, or nothing for a value of another type.
std::optional<DSP::ParamValue> untyped(const DSP::ParamDeclaration& declaration, const TypedValue& value)
{
    switch (declaration.kind) {
    case DSP::ParamKind::Float:
        switch (value.type()) {
        case TypedValue::Type::Float: return float(value.asFloat());
        case TypedValue::Type::UInt: return float(value.asUInt());
        case TypedValue::Type::Int: return float(value.asInt());
        default: return std::nullopt;
        }
    case DSP::ParamKind::Bool:
        if (value.type() != TypedValue::Type::Bool)
            return std::nullopt;
        return value.asBool();
    case DSP::ParamKind::UInt:
    case DSP::ParamKind::Enum:
        if (const auto index = unsignedOf(value))
            return *index;
        return std::nullopt;
    }
    return std::nullopt;
}

DSP::ParamValue defaultOf(const DSP::ParamDeclaration& declaration)
{
    return declaration.FromFloat(declaration.defaultValue);
}

// Null when the value is missing or not a dictionary.
const TypedDictionary* dictionaryIn(const TypedValue* value)
{
    return value && value->type() == TypedValue::Type::Dictionary ? &value->asDictionary() : nullptr;
}

// Saved values by element name, then parameter name.
using SavedValues = std::map<Util::String, std::map<Util::String, const TypedValue*>>;

// A setting for every parameter of the set: its saved value, else its default.
std::optional<ElementSetState::Settings> settingsFor(const DSP::DSPSetImpl* set, const SavedValues& saved)
{
    ElementSetState::Settings settings;
    if (!set)
        return settings;
    for (const auto& [name, element] : set->GetElements()) {
        const auto savedElement = saved.find(name);
        for (uint32_t index = 0; index < element->GetParameterCount(); ++index) {
            const auto& declaration = *element->GetParameterDeclaration(index);
            DSP::ParamValue value = defaultOf(declaration);
            if (savedElement != saved.end())
                if (const auto it = savedElement->second.find(declaration.name); it != savedElement->second.end()) {
                    const auto converted = untyped(declaration, *it->second);
                    if (!converted)
                        return std::nullopt;
                    value = *converted;
                }
            settings.push_back({element, index, value});
        }
    }
    return settings;
}

template <typename T>
bool setThroughController(Controller::Object* controller, const DSP::ParamValue& value)
{
    auto* param = dynamic_cast<Controller::Param<T>*>(controller);
    const T* typedValue = std::get_if<T>(&value);
    if (!param || !typedValue)
        return false;
    param->SetValue(*typedValue);
    return true;
}

} // namespace

TypedDictionary ElementSetState::capture(const DSP::DSPSetImpl* set)
{
    TypedDictionary elements;
    if (set)
        for (const auto& [name, element] : set->GetElements()) {
            TypedDictionary parameters;
            for (uint32_t index = 0; index < element->GetParameterCount(); ++index) {
                const auto& declaration = *element->GetParameterDeclaration(index);
                const auto value = element->GetParameterValue(index);
                if (value)
                    parameters.set(declaration.name, typed(*value));
            }
            elements.set(name, TypedValue::fromDictionary(std::move(parameters)));
        }
    TypedDictionary state;
    state.set(ElementsKey, TypedValue::fromDictionary(std::move(elements)));
    return state;
}

std::optional<ElementSetState::Settings> ElementSetState::read(const DSP::DSPSetImpl* set,
                                                               const TypedDictionary& state)
{
    const TypedDictionary* elements = dictionaryIn(state.find(ElementsKey));
    if (!elements)
        return std::nullopt;
    SavedValues saved;
    for (const auto& [name, value] : elements->members()) {
        if (!set || !set->FindElement(name))
            continue;
        const TypedDictionary* parameters = dictionaryIn(&value);
        if (!parameters)
            return std::nullopt;
        for (const auto& [parameter, parameterValue] : parameters->members())
            saved[name][parameter] = &parameterValue;
    }
    return settingsFor(set, saved);
}

std::optional<ElementSetState::Settings> ElementSetState::readOlderLayout(const DSP::DSPSetImpl* set,
                                                                          const TypedDictionary& state)
{
    SavedValues saved;
    for (const auto& [keyPath, value] : state.members()) {
        const auto dot = keyPath.find('.');
        if (dot != Util::String::npos)
            saved[keyPath.substr(0, dot)][keyPath.substr(dot + 1)] = &value;
    }
    return settingsFor(set, saved);
}

void ElementSetState::apply(const Settings& settings)
{
    for (const auto& setting : settings) {
        const auto& declaration = *setting.element->GetParameterDeclaration(setting.index);
        Controller::Object* controller = setting.element->GetControllerSet().Find(declaration.name);
        const bool done = setThroughController<float>(controller, setting.value) ||
                          setThroughController<bool>(controller, setting.value) ||
                          setThroughController<uint32_t>(controller, setting.value);
        if (!done)
            setting.element->SetParameterValue(setting.index, setting.value);
    }
}
