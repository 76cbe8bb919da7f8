#pragma once
#include "param/Param.h"

#include <algorithm>

namespace Controller {

// A parameter whose values are kept between a minimum and a maximum.
template <typename T, typename Base = Param<T>>
class RangeParam : public Base {
public:
    RangeParam(Util::String name, std::unique_ptr<ParamStorage<T>> storage, T minimum, T maximum)
        : Base(std::move(name), std::move(storage)), minimum_(minimum), maximum_(std::max(minimum, maximum))
    {
    }

    T GetMinimum() const { return minimum_; }
    T GetMaximum() const { return maximum_; }

protected:
    T Constrain(T value) const override { return std::clamp(value, minimum_, maximum_); }

private:
    T minimum_;
    T maximum_;
};

} // namespace Controller
