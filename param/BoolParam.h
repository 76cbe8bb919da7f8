#pragma once
#include "param/DefaultParam.h"

namespace Controller {

// A switch; its range may be fixed (minimum and maximum both true, or both false).
class BoolParam : public DefaultParam<bool> {
public:
    using DefaultParam<bool>::DefaultParam;
};

} // namespace Controller
