#pragma once
#include "param/FloatParam.h"
#include "dsp/ElementDispatcherController.h"

namespace Controller {

// The user interface's float controller of an element parameter.
class ElementDispatcherFloatController final : public ElementDispatcherController<float, FloatParam> {
public:
    using ElementDispatcherController<float, FloatParam>::ElementDispatcherController;
};

} // namespace Controller
