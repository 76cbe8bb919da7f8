#pragma once
#include "util/Text.h"

namespace Platform {

// Base name of the host process's program file, as its argv[0] gives it (not
// lower-cased). Tests may override it. [any-thread]
Util::String hostProcessFileName();
// Replaces the answer of hostProcessFileName(); an empty text removes the override.
void overrideHostProcessFileName(const Util::String& name);

} // namespace Platform
