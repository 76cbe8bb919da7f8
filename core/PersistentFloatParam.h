#pragma once
#include "core/FloatParamMemory.h"
#include "core/PersistentParam.h"

namespace Controller {

// A float parameter whose value outlives the instance (see PersistentParamsHolder).
class PersistentFloatParam final : public PersistentParam<FloatParamMemory> {
public:
    using PersistentParam<FloatParamMemory>::PersistentParam;
};

} // namespace Controller
