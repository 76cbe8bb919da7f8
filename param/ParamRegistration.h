#pragma once
#include "util/Text.h"

// One line of a product's parameter registration list: an element parameter
// the host may automate, with the identifier and display name it is shown under.
struct ParamRegistration {
    Util::String elementName;
    Util::String parameterName;
    Util::String identifier;
    Util::String displayName;
};
