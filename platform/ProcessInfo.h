#pragma once
#include "util/Text.h"

namespace Platform {

// Base name of the host process's program file, as its argv[0] gives it (not
// lower-cased). Tests may override it. [any-thread]
Util::String hostProcessFileName();
// Replaces the answer of hostProcessFileName(); an empty text removes the override.
void overrideHostProcessFileName(const Util::String& name);

// The folder of the file this code was loaded from: the plug-in library's
// folder (the test program's, where the code is linked into one), with '/'
// separators and no trailing one. Empty when it cannot be told. [any-thread]
Util::String moduleFolder();

} // namespace Platform
