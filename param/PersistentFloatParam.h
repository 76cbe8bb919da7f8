#pragma once
#include "param/FloatParamMemory.h"
#include "param/PersistentParam.h"

namespace Controller {

// A float parameter whose value outlives the instance (see PersistentParamsHolder).
class PersistentFloatParam final : public PersistentParam<FloatParamMemory> {
public:
    using PersistentParam<FloatParamMemory>::PersistentParam;
};

} // namespace Controller
