#include "dsp/ElementDispatcher.h"

#include "dsp/ElementDispatcherControllerSet.h"
#include "dsp/ElementDispatcherParam.h"
#include "dsp/ElementDispatcherParamEnum.h"
#include "util/Log.h"

#include <stdexcept>

namespace DSP {

ElementDispatcher::ElementDispatcher(ElementHost& host, const Util::NameRecord& name, float sampleRate,
                                     uint32_t channelFormat, uint32_t sideInputBuses, uint32_t extraOutputBuses,
                                     uint32_t regionCount)
    : ElementImpl(host, name, sampleRate, channelFormat, sideInputBuses, extraOutputBuses, regionCount)
{
}

ElementDispatcher::~ElementDispatcher()
{
    // Controllers are bound to the parameters: they go first.
    controllerSet_.reset();
}

template <typename Param>
Param* ElementDispatcher::Declare(std::unique_ptr<Param> param)
{
    const Util::String& name = param->GetDeclaration().name;
    for (const auto& declared : declared_)
        if (declared->GetDeclaration().name == name)
            Util::Log::write(Util::format("Parameter \"%1\" has already been registered", name));
    Param* raw = param.get();
    declared_.push_back(std::move(param));
    return raw;
}

ElementParam<float> ElementDispatcher::DeclareFloat(const Util::String& name, float minimum, float maximum,
                                                    float defaultValue)
{
    ParamDeclaration declaration{name, ParamKind::Float, minimum, maximum, defaultValue, {}, 0};
    return ElementParam<float>(
        Declare(std::make_unique<ElementDispatcherParam<float>>(*this, declaration, defaultValue, minimum, maximum)));
}

ElementParam<bool> ElementDispatcher::DeclareBool(const Util::String& name, bool defaultValue)
{
    ParamDeclaration declaration{name, ParamKind::Bool, 0.0f, 1.0f, defaultValue ? 1.0f : 0.0f, {}, 0};
    return ElementParam<bool>(
        Declare(std::make_unique<ElementDispatcherParam<bool>>(*this, declaration, defaultValue, false, true)));
}

ElementParam<uint32_t> ElementDispatcher::DeclareUInt(const Util::String& name, uint32_t minimum, uint32_t maximum,
                                                      uint32_t defaultValue)
{
    ParamDeclaration declaration{name, ParamKind::UInt, float(minimum), float(maximum), float(defaultValue), {}, 0};
    return ElementParam<uint32_t>(
        Declare(std::make_unique<ElementDispatcherParam<uint32_t>>(*this, declaration, defaultValue, minimum, maximum)));
}

ElementParamEnum ElementDispatcher::DeclareEnum(const Util::String& name, std::vector<Util::String> valueNames,
                                                uint32_t defaultValue)
{
    const uint32_t last = valueNames.empty() ? 0 : uint32_t(valueNames.size() - 1);
    ParamDeclaration declaration{name, ParamKind::Enum, 0.0f, float(last), float(defaultValue), std::move(valueNames), 0};
    return ElementParamEnum(
        Declare(std::make_unique<ElementDispatcherParamEnum>(*this, declaration, defaultValue, 0u, last)));
}

std::optional<uint32_t> ElementDispatcher::Register(ElementParamEntry& entry)
{
    if (FindParameter(entry.GetDeclaration().name))
        return std::nullopt;
    const auto index = uint32_t(registry_.size());
    entry.SetIndex(index);
    registry_.push_back(&entry);
    return index;
}

void ElementDispatcher::RegisterParameters()
{
    if (registered_)
        return;
    registered_ = true;
    std::vector<bool> registered(declared_.size(), false);
    for (uint32_t declaredIndex = 0; declaredIndex < declared_.size(); ++declaredIndex) {
        const auto index = Register(*declared_[declaredIndex]);
        if (!index) {
            Util::Log::write(Util::format(
                "Parameter registration for parameter index %1 failed. Was there already a parameter with the same ID?",
                declaredIndex));
            continue;
        }
        registered[declaredIndex] = true;
        if (*index != declaredIndex)
            Util::Log::write(Util::format("Parameter registration for parameter index %1 returned in the wrong index: %2",
                                          declaredIndex, *index));
    }
    for (uint32_t declaredIndex = 0; declaredIndex < registered.size(); ++declaredIndex)
        if (!registered[declaredIndex])
            Util::Log::write(Util::format("Parameter index %1 has not been registered", declaredIndex));
}

uint32_t ElementDispatcher::GetParameterCount() const { return uint32_t(registry_.size()); }

ElementParamEntry* ElementDispatcher::GetParameterEntry(uint32_t index) const
{
    return index < registry_.size() ? registry_[index] : nullptr;
}

std::optional<uint32_t> ElementDispatcher::FindParameter(const Util::String& name) const
{
    for (uint32_t index = 0; index < registry_.size(); ++index)
        if (registry_[index]->GetDeclaration().name == name)
            return index;
    return std::nullopt;
}

const ParamDeclaration* ElementDispatcher::GetParameterDeclaration(uint32_t index) const
{
    const ElementParamEntry* entry = GetParameterEntry(index);
    return entry ? &entry->GetDeclaration() : nullptr;
}

std::optional<ParamValue> ElementDispatcher::GetParameterValue(uint32_t index) const
{
    const ElementParamEntry* entry = GetParameterEntry(index);
    if (!entry)
        return std::nullopt;
    return entry->GetEntryValue();
}

bool ElementDispatcher::SetParameterValue(uint32_t index, const ParamValue& value, uint64_t tag)
{
    ElementParamEntry* entry = GetParameterEntry(index);
    if (!entry)
        return false;
    entry->SetEntryValue(value, tag);
    return true;
}

bool ElementDispatcher::AddParameterListener(uint32_t index, ElementParamEntry::Listener listener)
{
    ElementParamEntry* entry = GetParameterEntry(index);
    if (!entry)
        return false;
    Platform::ScopedLock lock(GetHost().GetProcessingLock());
    entry->AddListener(std::move(listener));
    return true;
}

bool ElementDispatcher::IsOnProcessingSide() const { return GetHost().IsProcessingThread(); }

void ElementDispatcher::DispatchParameters()
{
    for (uint32_t i = 0; i < GetChildCount(); ++i)
        GetChild(i)->DispatchParameters();
    bool anyChanged = false;
    for (ElementParamEntry* entry : registry_)
        anyChanged = entry->GetDispatchInfo().Poll() || anyChanged;
    OnParametersPolled(anyChanged);
    for (ElementParamEntry* entry : registry_)
        entry->GetDispatchInfo().Apply();
}

Controller::ControllerSet& ElementDispatcher::GetControllerSet()
{
    if (controllerSet_)
        return *controllerSet_;
    if (makingControllerSet_)
        throw std::logic_error(
            "Calling ElementDispatcher::GetControllerSet() recursively. Make sure your custom controller set's "
            "constructor does not call through to GetControllerSet()!");
    makingControllerSet_ = true;
    try {
        controllerSet_ = CreateControllerSet();
    } catch (...) {
        makingControllerSet_ = false;
        throw;
    }
    makingControllerSet_ = false;
    return *controllerSet_;
}

std::unique_ptr<Controller::ControllerSet> ElementDispatcher::CreateControllerSet()
{
    return std::make_unique<Controller::ElementDispatcherControllerSet>(*this);
}

} // namespace DSP
