#pragma once
#include "dsp/DispatchInfo.h"
#include "dsp/ElementDispatcherParamStorage.h"

#include <memory>
#include <utility>

namespace Controller {

// A controller of parameter class `Base` bound to one element parameter: its
// value lives in the element, and the parameter's dispatch record sets it when a
// change made on the audio side arrives. Unbinds itself when destroyed.
template <typename T, typename Base>
class ElementDispatcherController : public Base {
public:
    template <typename... Extra>
    ElementDispatcherController(DSP::ElementParamImplBase<T>& param, DSP::DispatchInfo<T>& dispatch, Extra&&... extra)
        : Base(param.GetName(), std::make_unique<ElementDispatcherParamStorage<T>>(param), dispatch.GetMinimum(),
               dispatch.GetMaximum(), param.GetDefault(), std::forward<Extra>(extra)...),
          dispatch_(dispatch)
    {
        dispatch_.SetController(this);
    }
    ~ElementDispatcherController() override
    {
        if (dispatch_.GetController() == this)
            dispatch_.SetController(nullptr);
    }

private:
    DSP::DispatchInfo<T>& dispatch_;
};

} // namespace Controller
