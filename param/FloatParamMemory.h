#pragma once
#include "param/FloatParam.h"
#include "param/ParamMemoryStorage.h"

namespace Controller {

// A float parameter whose value lives in memory; it starts at its default.
class FloatParamMemory : public FloatParam {
public:
    FloatParamMemory(Util::String name, float minimum, float maximum, float defaultValue)
        : FloatParam(std::move(name), std::make_unique<ParamMemoryStorage<float>>(defaultValue), minimum, maximum,
                     defaultValue)
    {
    }
};

} // namespace Controller
