#pragma once
#include "param/DefaultParam.h"

namespace Controller {

class FloatParam : public DefaultParam<float> {
public:
    using DefaultParam<float>::DefaultParam;
};

} // namespace Controller
