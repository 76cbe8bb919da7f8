#pragma once
#include "dsp/DispatchInfoBase.h"
#include "dsp/ParamDeclaration.h"

#include <cstdint>
#include <functional>

namespace DSP {

// One parameter of an element seen without its value type: the element's
// registry holds these in registration order.
class ElementParamEntry {
public:
    using Listener = std::function<void(uint32_t mode, const ParamValue& value, uint64_t tag)>;

    virtual ~ElementParamEntry() = default;
    virtual const ParamDeclaration& GetDeclaration() const = 0;
    // The registration index. [any-thread]
    virtual uint32_t GetIndex() const = 0;
    // As ElementParamImplBase::GetValue. [any-thread]
    virtual ParamValue GetEntryValue() const = 0;
    virtual ParamValue GetAudioSideValue() const = 0;
    // As ElementParamImplBase::SetValue; a value of another kind is converted. [any-thread]
    virtual void SetEntryValue(const ParamValue& value, uint64_t tag) = 0;
    virtual DispatchInfoBase& GetDispatchInfo() = 0;
    // Called with every change on either side. [ui-thread] & processing lock
    virtual void AddListener(Listener listener) = 0;

protected:
    friend class ElementDispatcher;
    virtual void SetIndex(uint32_t index) = 0;
};

} // namespace DSP
