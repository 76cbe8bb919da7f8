#pragma once
#include "dsp/ParamDeclaration.h"
#include "util/Text.h"

#include <cstdint>

namespace DSP {

class ElementDispatcher;

// The implementation behind an element's parameter handle.
template <typename T>
class ElementParamImplBase {
public:
    virtual ~ElementParamImplBase() = default;
    // On the processing thread the audio side's value, elsewhere the value the
    // user-interface side sees. [any-thread]
    virtual T GetValue() const = 0;
    // Sets the value on the caller's side (audio side on the processing thread).
    // [any-thread]
    virtual void SetValue(T value, uint64_t tag = 0) = 0;
    virtual uint64_t GetDescriptor() const = 0;
    virtual T GetDefault() const = 0;
    virtual const ParamDeclaration& GetRecord() const = 0;
    // An edit gesture begins or ends (the host's automation). [ui-thread]
    virtual void BeginEdit() = 0;
    virtual void EndEdit() = 0;
    virtual ElementDispatcher& GetElement() const = 0;
    virtual const Util::String& GetName() const = 0;
};

} // namespace DSP
