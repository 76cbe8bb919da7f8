#pragma once
#include "dsp/ElementParamImplBase.h"

#include <vector>

namespace DSP {

// An enumeration parameter: an index with a name per value.
class ElementParamEnumImplBase : public ElementParamImplBase<uint32_t> {
public:
    virtual const std::vector<Util::String>& GetValueNames() const = 0;
};

} // namespace DSP
