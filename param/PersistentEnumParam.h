#pragma once
#include "param/EnumParamMemory.h"
#include "param/PersistentParam.h"

namespace Controller {

// An enumeration whose value outlives the instance (see PersistentParamsHolder).
class PersistentEnumParam final : public PersistentParam<EnumParamMemory> {
public:
    using PersistentParam<EnumParamMemory>::PersistentParam;
};

} // namespace Controller
