#include "X11Windows.h"

namespace Lv2Test {

std::vector<Window> childWindows(Display* display, Window parent)
{
    XSync(display, False);
    Window root = 0, above = 0, *children = nullptr;
    unsigned count = 0;
    std::vector<Window> found;
    if (XQueryTree(display, parent, &root, &above, &children, &count)) {
        found.assign(children, children + count);
        XFree(children);
    }
    return found;
}

} // namespace Lv2Test
