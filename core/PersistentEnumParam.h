#pragma once
#include "core/EnumParamMemory.h"
#include "core/PersistentParam.h"

namespace Controller {

// An enumeration whose value outlives the instance (see PersistentParamsHolder).
class PersistentEnumParam final : public PersistentParam<EnumParamMemory> {
public:
    using PersistentParam<EnumParamMemory>::PersistentParam;
};

} // namespace Controller
