#pragma once
#include "dsp/ElementDispatcherParam.h"
#include "dsp/ElementParamEnumImplBase.h"

namespace DSP {

// The enumeration parameter of ElementDispatcher: an index over named values.
class ElementDispatcherParamEnum final : public ElementDispatcherParam<uint32_t, ElementParamEnumImplBase> {
public:
    using ElementDispatcherParam<uint32_t, ElementParamEnumImplBase>::ElementDispatcherParam;

    const std::vector<Util::String>& GetValueNames() const override { return GetDeclaration().valueNames; }
};

} // namespace DSP
