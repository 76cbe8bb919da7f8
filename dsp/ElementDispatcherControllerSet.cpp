#include "dsp/ElementDispatcherControllerSet.h"

#include "dsp/ElementDispatcher.h"
#include "dsp/ElementDispatcherBoolController.h"
#include "dsp/ElementDispatcherEnumController.h"
#include "dsp/ElementDispatcherFloatController.h"
#include "dsp/ElementDispatcherParam.h"
#include "dsp/ElementDispatcherParamEnum.h"

namespace Controller {

namespace {
template <typename Controller, typename Param, typename... Extra>
std::unique_ptr<Object> bind(DSP::ElementParamEntry& entry, Extra&&... extra)
{
    auto* param = dynamic_cast<Param*>(&entry);
    if (!param)
        return nullptr;
    return std::make_unique<Controller>(*param, param->GetDispatch(), std::forward<Extra>(extra)...);
}

std::unique_ptr<Object> makeController(DSP::ElementParamEntry& entry)
{
    switch (entry.GetDeclaration().kind) {
    case DSP::ParamKind::Float:
        return bind<ElementDispatcherFloatController, DSP::ElementDispatcherParam<float>>(entry);
    case DSP::ParamKind::Bool:
        return bind<ElementDispatcherBoolController, DSP::ElementDispatcherParam<bool>>(entry);
    case DSP::ParamKind::Enum:
        return bind<ElementDispatcherEnumController, DSP::ElementDispatcherParamEnum>(entry,
                                                                                      entry.GetDeclaration().valueNames);
    case DSP::ParamKind::UInt:
        return bind<ElementDispatcherEnumController, DSP::ElementDispatcherParam<uint32_t>>(
            entry, std::vector<Util::String>{});
    }
    return nullptr;
}
} // namespace

ElementDispatcherControllerSet::ElementDispatcherControllerSet(DSP::ElementDispatcher& element)
    : ControllerSet(element.GetName().text), element_(element)
{
    for (uint32_t index = 0; index < element.GetParameterCount(); ++index) {
        DSP::ElementParamEntry& entry = *element.GetParameterEntry(index);
        Add(entry.GetDeclaration().name, makeController(entry));
    }
}

} // namespace Controller
