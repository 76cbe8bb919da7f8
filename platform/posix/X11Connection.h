#pragma once
#include <X11/Xlib.h>

namespace Platform::Posix {

// Opens the default display. A busy X server can refuse a connection for a
// moment (seen under parallel load); a few quick retries ride that out.
Display* openX11Display();

} // namespace Platform::Posix
