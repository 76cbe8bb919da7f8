#pragma once
#include "dsp/ElementImpl.h"
#include "dsp/ElementParam.h"
#include "dsp/ElementParamEntry.h"
#include "dsp/ElementParamEnum.h"

#include <memory>
#include <vector>

namespace DSP {

// An element with typed parameters (unsigned, enumeration, float, bool) kept on
// both sides: the audio side's value and the user-interface side's copy, in step
// through DispatcherCommands (user interface to audio) and DispatchParameters
// (audio to user interface), and the element's controller set.
//
// A subclass declares its parameters in its constructor and ends the
// constructor with RegisterParameters(), which registers them in declaration
// order and reports every mistake to the log.
class ElementDispatcher : public ElementImpl {
public:
    ElementDispatcher(ElementHost& host, const Util::NameRecord& name, float sampleRate, uint32_t channelFormat,
                      uint32_t sideInputBuses, uint32_t extraOutputBuses, uint32_t regionCount);
    ~ElementDispatcher() override;

    // Children first, then Poll of every parameter, the polled hook, then Apply
    // of every parameter. [ui-thread]
    void DispatchParameters() override;
    uint32_t GetParameterCount() const override;
    std::optional<uint32_t> FindParameter(const Util::String& name) const override;
    const ParamDeclaration* GetParameterDeclaration(uint32_t index) const override;
    std::optional<ParamValue> GetParameterValue(uint32_t index) const override;
    bool SetParameterValue(uint32_t index, const ParamValue& value, uint64_t tag = 0) override;
    // Made once through CreateControllerSet. Throws std::logic_error when called
    // again while the set is being made. [ui-thread]
    Controller::ControllerSet& GetControllerSet() override;

    ElementParamEntry* GetParameterEntry(uint32_t index) const;
    // Adds a listener to parameter `index` under the processing lock; false
    // beyond the count. [ui-thread]
    bool AddParameterListener(uint32_t index, ElementParamEntry::Listener listener);
    // Whether parameter calls on this thread act on the audio side. [any-thread]
    bool IsOnProcessingSide() const;

protected:
    virtual std::unique_ptr<Controller::ControllerSet> CreateControllerSet();
    // After the polls of DispatchParameters, with whether any found a change.
    virtual void OnParametersPolled(bool /*anyChanged*/) {}

    // Declarations, in the subclass's constructor. [ui-thread]
    ElementParam<float> DeclareFloat(const Util::String& name, float minimum, float maximum, float defaultValue);
    ElementParam<bool> DeclareBool(const Util::String& name, bool defaultValue);
    ElementParam<uint32_t> DeclareUInt(const Util::String& name, uint32_t minimum, uint32_t maximum,
                                       uint32_t defaultValue);
    ElementParamEnum DeclareEnum(const Util::String& name, std::vector<Util::String> valueNames,
                                 uint32_t defaultValue);
    // Registers the declared parameters, once. [ui-thread]
    void RegisterParameters();

private:
    template <typename Param>
    Param* Declare(std::unique_ptr<Param> param);
    std::optional<uint32_t> Register(ElementParamEntry& entry);

    std::vector<std::unique_ptr<ElementParamEntry>> declared_;
    std::vector<ElementParamEntry*> registry_;
    std::unique_ptr<Controller::ControllerSet> controllerSet_;
    bool makingControllerSet_ = false;
    bool registered_ = false;
};

} // namespace DSP
