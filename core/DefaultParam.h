#pragma once
#include "core/RangeParam.h"

namespace Controller {

// A ranged parameter with a default value.
template <typename T, typename Base = RangeParam<T>>
class DefaultParam : public Base {
public:
    DefaultParam(Util::String name, std::unique_ptr<ParamStorage<T>> storage, T minimum, T maximum, T defaultValue)
        : Base(std::move(name), std::move(storage), minimum, maximum), default_(defaultValue)
    {
    }

    T GetDefault() const { return default_; }
    void ResetToDefault() { this->SetValue(default_); }

private:
    T default_;
};

} // namespace Controller
