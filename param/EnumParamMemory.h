#pragma once
#include "param/EnumParam.h"
#include "param/ParamMemoryStorage.h"

namespace Controller {

// An enumeration whose index lives in memory; it starts at its default.
class EnumParamMemory : public EnumParam {
public:
    // Indices 0 to labels.size() - 1.
    EnumParamMemory(Util::String name, const std::vector<Util::String>& labels, uint32_t defaultValue)
        : EnumParamMemory(std::move(name), 0, labels.empty() ? 0 : uint32_t(labels.size() - 1), defaultValue, labels)
    {
    }
    EnumParamMemory(Util::String name, uint32_t minimum, uint32_t maximum, uint32_t defaultValue,
                    std::vector<Util::String> labels)
        : EnumParam(std::move(name), std::make_unique<ParamMemoryStorage<uint32_t>>(defaultValue), minimum, maximum,
                    defaultValue, std::move(labels))
    {
    }
};

} // namespace Controller
