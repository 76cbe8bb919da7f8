#pragma once
#include "param/ControllerSet.h"

namespace DSP {
class ElementDispatcher;
}

namespace Controller {

// The controllers of one element: one per parameter, in registration order,
// each bound to its parameter, keyed by the parameter's name.
class ElementDispatcherControllerSet : public ControllerSet {
public:
    explicit ElementDispatcherControllerSet(DSP::ElementDispatcher& element);

    DSP::ElementDispatcher& GetElement() const { return element_; }

private:
    DSP::ElementDispatcher& element_;
};

} // namespace Controller
