#pragma once
#include "param/BoolParam.h"
#include "param/ParamMemoryStorage.h"

namespace Controller {

// A switch whose value lives in memory; it starts at its default. The range is
// false to true unless given (a switch fixed on has both at true).
class BoolParamMemory : public BoolParam {
public:
    BoolParamMemory(Util::String name, bool defaultValue, bool minimum = false, bool maximum = true)
        : BoolParam(std::move(name), std::make_unique<ParamMemoryStorage<bool>>(defaultValue), minimum, maximum,
                    defaultValue)
    {
    }
};

} // namespace Controller
