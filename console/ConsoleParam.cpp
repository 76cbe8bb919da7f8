#include "console/ConsoleParam.h"

#include "dsp/DSPSetImpl.h"
#include "dsp/Element.h"
#include "param/BoolParam.h"
#include "param/ControllerSet.h"
#include "param/EnumParam.h"
#include "param/FloatParam.h"

namespace ConsoleCommand {

namespace {
Util::String typeOf(DSP::ParamKind kind)
{
    switch (kind) {
    case DSP::ParamKind::Bool: return "bool";
    case DSP::ParamKind::Enum: return "enum";
    case DSP::ParamKind::Float:
    case DSP::ParamKind::UInt: break;
    }
    return "float";
}

// A configuration value of type T, seen as floats.
template <typename T>
ConsoleParam configurationParam(const Util::String& key, Controller::DefaultParam<T>& param, const char* type)
{
    ConsoleParam row{key, type, param.GetName(), "config", float(param.GetMinimum()), float(param.GetMaximum()),
                     float(param.GetDefault()), !std::is_same_v<T, float>, {}, {}};
    row.read = [&param] { return float(param.GetValue()); };
    row.write = [&param](float value) {
        if constexpr (std::is_same_v<T, float>)
            param.SetValue(value);
        else if constexpr (std::is_same_v<T, bool>)
            param.SetValue(value != 0.0f);
        else
            param.SetValue(T(value + 0.5f));
    };
    return row;
}
} // namespace

std::vector<ConsoleParam> ConsoleParam::ofElements(DSP::DSPSetImpl* set)
{
    std::vector<ConsoleParam> rows;
    if (!set)
        return rows;
    for (const auto& [name, element] : set->GetElements())
        for (uint32_t index = 0; index < element->GetParameterCount(); ++index) {
            const DSP::ParamDeclaration& declaration = *element->GetParameterDeclaration(index);
            ConsoleParam row{name, typeOf(declaration.kind), declaration.name, "param", declaration.minimum,
                             declaration.maximum, declaration.defaultValue,
                             declaration.kind != DSP::ParamKind::Float, {}, {}};
            // The element is held weakly: a format change may replace it.
            std::weak_ptr<DSP::Element> weak = element;
            row.read = [weak, index] {
                const auto alive = weak.lock();
                const auto value = alive ? alive->GetParameterValue(index) : std::nullopt;
                return value ? DSP::ParamDeclaration::ToFloat(*value) : 0.0f;
            };
            row.write = [weak, index](float value) {
                if (const auto alive = weak.lock())
                    alive->SetParameterValue(index, alive->GetParameterDeclaration(index)->FromFloat(value));
            };
            rows.push_back(std::move(row));
        }
    return rows;
}

std::vector<ConsoleParam> ConsoleParam::ofConfiguration(const Util::String& key, Controller::ControllerSet& set)
{
    std::vector<ConsoleParam> rows;
    for (size_t i = 0; i < set.GetCount(); ++i) {
        Controller::Object* object = set.GetAt(i);
        if (auto* flag = dynamic_cast<Controller::BoolParam*>(object))
            rows.push_back(configurationParam<bool>(key, *flag, "bool"));
        else if (auto* number = dynamic_cast<Controller::FloatParam*>(object))
            rows.push_back(configurationParam<float>(key, *number, "float"));
        else if (auto* list = dynamic_cast<Controller::EnumParam*>(object))
            rows.push_back(configurationParam<uint32_t>(key, *list, "enum"));
    }
    return rows;
}

} // namespace ConsoleCommand
