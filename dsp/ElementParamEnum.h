#pragma once
#include "dsp/ElementParam.h"
#include "dsp/ElementParamEnumImplBase.h"

namespace DSP {

// The handle of an enumeration parameter.
class ElementParamEnum : public ElementParam<uint32_t> {
public:
    ElementParamEnum() = default;
    explicit ElementParamEnum(ElementParamEnumImplBase* impl) : ElementParam<uint32_t>(impl), enum_(impl) {}

    const std::vector<Util::String>& GetValueNames() const { return enum_->GetValueNames(); }
    // The name of the current value; empty beyond the names. [any-thread]
    Util::String GetValueName() const
    {
        const uint32_t index = Get();
        const auto& names = GetValueNames();
        return index < names.size() ? names[index] : Util::String();
    }

private:
    ElementParamEnumImplBase* enum_ = nullptr;
};

} // namespace DSP
