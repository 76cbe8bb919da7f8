#pragma once
#include "param/DefaultParam.h"

namespace Controller {

// A text with a default; texts have no range.
class StringParam : public DefaultParam<Util::String, Param<Util::String>> {
public:
    using DefaultParam<Util::String, Param<Util::String>>::DefaultParam;
};

} // namespace Controller
