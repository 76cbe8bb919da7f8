#pragma once
#include <X11/Xlib.h>
#include <vector>

namespace Lv2Test {

// The windows inside `parent`, bottom to top, once the server has handled
// every request so far.
std::vector<Window> childWindows(Display* display, Window parent);

} // namespace Lv2Test
