#pragma once
#include <string>

namespace TestSupport {

// The shuttle folder of the sandbox's settings: the editor's default session
// folder below XDG_DATA_HOME.
std::string shuttleFolder();
// Points the editor's settings back at the default session folder (a test
// before may have chosen one of its own) and empties its shuttle folder.
void resetShuttleFolder();

} // namespace TestSupport
