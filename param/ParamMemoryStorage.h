#pragma once
#include "param/ParamStorage.h"

#include <utility>

namespace Controller {

// A value held in memory by the parameter itself.
template <typename T>
class ParamMemoryStorage final : public ParamStorage<T> {
public:
    explicit ParamMemoryStorage(T initial) : value_(std::move(initial)) {}

    T Load() const override { return value_; }
    void Store(T value) override { value_ = std::move(value); }

private:
    T value_;
};

} // namespace Controller
