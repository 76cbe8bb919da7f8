#pragma once

namespace Controller {

// Where a parameter keeps its value.
template <typename T>
class ParamStorage {
public:
    virtual ~ParamStorage() = default;
    virtual T Load() const = 0;
    virtual void Store(T value) = 0;
};

} // namespace Controller
