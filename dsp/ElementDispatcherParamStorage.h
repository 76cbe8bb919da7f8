#pragma once
#include "param/ParamStorage.h"
#include "dsp/ElementParamImplBase.h"

namespace Controller {

// A controller's value kept in an element parameter: reads what the caller's
// side sees, writes through the parameter (to the audio side as a command).
template <typename T>
class ElementDispatcherParamStorage final : public ParamStorage<T> {
public:
    explicit ElementDispatcherParamStorage(DSP::ElementParamImplBase<T>& param) : param_(param) {}

    T Load() const override { return param_.GetValue(); }
    void Store(T value) override { param_.SetValue(value); }

private:
    DSP::ElementParamImplBase<T>& param_;
};

} // namespace Controller
