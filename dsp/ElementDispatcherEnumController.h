#pragma once
#include "param/EnumParam.h"
#include "dsp/ElementDispatcherController.h"

namespace Controller {

// The user interface's enumeration controller of an element parameter (also
// used for plain unsigned parameters, without value names).
class ElementDispatcherEnumController final : public ElementDispatcherController<uint32_t, EnumParam> {
public:
    using ElementDispatcherController<uint32_t, EnumParam>::ElementDispatcherController;
};

} // namespace Controller
