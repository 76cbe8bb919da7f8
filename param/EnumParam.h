#pragma once
#include "param/DefaultParam.h"

#include <cstdint>
#include <vector>

namespace Controller {

// An index into a list of value names.
class EnumParam : public DefaultParam<uint32_t> {
public:
    EnumParam(Util::String name, std::unique_ptr<ParamStorage<uint32_t>> storage, uint32_t minimum, uint32_t maximum,
              uint32_t defaultValue, std::vector<Util::String> labels)
        : DefaultParam<uint32_t>(std::move(name), std::move(storage), minimum, maximum, defaultValue),
          labels_(std::move(labels))
    {
    }

    const std::vector<Util::String>& GetLabels() const { return labels_; }

private:
    std::vector<Util::String> labels_;
};

} // namespace Controller
