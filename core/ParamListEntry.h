#pragma once
#include "util/Text.h"

#include <cstdint>

// One value shown to the host: an element's parameter, its kind as the host
// sees it, and the texts of its information record.
struct ParamListEntry {
    enum Kind : uint32_t { Float = 0, Bool = 1, Enum = 2 };

    Util::String elementName; // the element is looked up by name: a format change may replace it
    uint32_t parameterIndex = 0;
    Kind kind = Float;
    Util::String displayName;
    Util::String secondText;
};
