#pragma once
#include "param/BoolParamMemory.h"
#include "param/PersistentParam.h"

namespace Controller {

// A switch whose value outlives the instance (see PersistentParamsHolder).
class PersistentBoolParam final : public PersistentParam<BoolParamMemory> {
public:
    using PersistentParam<BoolParamMemory>::PersistentParam;
};

} // namespace Controller
