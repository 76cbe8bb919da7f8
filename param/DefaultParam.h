#pragma once
#include "param/RangeParam.h"

#include <type_traits>

namespace Controller {

// A parameter with a default value, over a ranged base (RangeParam, the usual
// case) or directly over Param for values without a range (texts).
template <typename T, typename Base = RangeParam<T>>
class DefaultParam : public Base {
public:
    static constexpr bool Ranged = !std::is_same_v<Base, Param<T>>;

    DefaultParam(Util::String name, std::unique_ptr<ParamStorage<T>> storage, T minimum, T maximum, T defaultValue)
        requires Ranged
        : Base(std::move(name), std::move(storage), minimum, maximum), default_(std::move(defaultValue))
    {
    }
    DefaultParam(Util::String name, std::unique_ptr<ParamStorage<T>> storage, T defaultValue)
        requires(!Ranged)
        : Base(std::move(name), std::move(storage)), default_(std::move(defaultValue))
    {
    }

    const T& GetDefault() const { return default_; }
    void ResetToDefault() { this->SetValue(default_); }

private:
    T default_;
};

} // namespace Controller
