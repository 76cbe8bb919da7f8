#pragma once
#include "param/BoolParam.h"
#include "dsp/ElementDispatcherController.h"

namespace Controller {

// The user interface's bool controller of an element parameter.
class ElementDispatcherBoolController final : public ElementDispatcherController<bool, BoolParam> {
public:
    using ElementDispatcherController<bool, BoolParam>::ElementDispatcherController;
};

} // namespace Controller
