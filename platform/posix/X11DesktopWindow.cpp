#include "platform/posix/X11DesktopWindow.h"

#include "platform/posix/X11ErrorTrap.h"
#include "platform/posix/X11PixelFormat.h"

#include "platform/posix/X11Connection.h"

#include <X11/Xutil.h>

#include <utility>

namespace Platform {

std::unique_ptr<DesktopWindow> DesktopWindow::create(int width, int height, const std::string& title)
{
    Display* display = Posix::openX11Display();
    if (!display)
        return nullptr;
    const int screen = DefaultScreen(display);
    const ::Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, unsigned(width),
                                                unsigned(height), 0, BlackPixel(display, screen),
                                                BlackPixel(display, screen));
    XStoreName(display, window, title.c_str());
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    // Wait until it is on screen, so that a child made inside it is viewable at once.
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.window == window)
            break;
    }
    return std::make_unique<X11DesktopWindow>(display, window);
}

X11DesktopWindow::X11DesktopWindow(Display* display, ::Window window) : display_(display), window_(window) {}

X11DesktopWindow::~X11DesktopWindow()
{
    {
        X11ErrorTrap trap(display_);
        XDestroyWindow(display_, window_);
    }
    XCloseDisplay(display_);
}

std::vector<uint64_t> X11DesktopWindow::childWindows()
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    std::vector<uint64_t> result;
    X11ErrorTrap trap(display_);
    if (XQueryTree(display_, window_, &root, &parent, &children, &count)) {
        result.assign(children, children + count);
        if (children)
            XFree(children);
    }
    return result;
}

namespace {
// NativeInput's modifier bits as X11 key masks: 1 Shift, 2 Control, 4 Alt
// (Mod1), 8 Super (Mod4), 16 AltGr (Mod5).
unsigned stateOf(uint32_t modifiers)
{
    unsigned state = 0;
    const std::pair<uint32_t, unsigned> masks[] = {
        {1, ShiftMask}, {2, ControlMask}, {4, Mod1Mask}, {8, Mod4Mask}, {16, Mod5Mask}};
    for (const auto& [bit, mask] : masks)
        if (modifiers & bit)
            state |= mask;
    return state;
}
} // namespace

bool X11DesktopWindow::sendKey(uint64_t window, const std::string& keyName)
{
    const KeySym sym = XStringToKeysym(keyName.c_str());
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display_, sym);
    if (code == 0)
        return false;
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.window = ::Window(window);
    event.xkey.root = DefaultRootWindow(display_);
    event.xkey.keycode = code;
    event.xkey.same_screen = True;
    event.xkey.time = CurrentTime;
    X11ErrorTrap trap(display_);
    const Status sent = XSendEvent(display_, ::Window(window), False, KeyPressMask, &event);
    return sent != 0 && !trap.failed();
}

bool X11DesktopWindow::sendPointer(uint64_t window, Pointer kind, int x, int y, uint32_t modifiers)
{
    XEvent event{};
    long mask = 0;
    if (kind == Pointer::Move) {
        event.type = MotionNotify;
        event.xmotion.window = ::Window(window);
        event.xmotion.root = DefaultRootWindow(display_);
        event.xmotion.x = x;
        event.xmotion.y = y;
        event.xmotion.same_screen = True;
        event.xmotion.state = stateOf(modifiers);
        mask = PointerMotionMask;
    } else {
        event.type = kind == Pointer::Press ? ButtonPress : ButtonRelease;
        event.xbutton.window = ::Window(window);
        event.xbutton.root = DefaultRootWindow(display_);
        event.xbutton.x = x;
        event.xbutton.y = y;
        event.xbutton.button = Button1;
        event.xbutton.state = (kind == Pointer::Release ? Button1Mask : 0) | stateOf(modifiers);
        event.xbutton.same_screen = True;
        event.xbutton.time = CurrentTime;
        mask = kind == Pointer::Press ? ButtonPressMask : ButtonReleaseMask;
    }
    X11ErrorTrap trap(display_);
    const Status sent = XSendEvent(display_, ::Window(window), False, mask, &event);
    return sent != 0 && !trap.failed();
}

bool X11DesktopWindow::capture(uint64_t window, std::vector<uint8_t>& rgba, int& width, int& height)
{
    X11ErrorTrap trap(display_);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, ::Window(window), &attributes) || attributes.map_state != IsViewable)
        return false;
    XImage* image = XGetImage(display_, ::Window(window), 0, 0, unsigned(attributes.width),
                              unsigned(attributes.height), AllPlanes, ZPixmap);
    if (!image || trap.failed()) {
        if (image)
            XDestroyImage(image);
        return false;
    }
    const X11PixelFormat format(image->red_mask, image->green_mask, image->blue_mask);
    width = attributes.width;
    height = attributes.height;
    rgba.resize(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4;
            format.unpack(uint32_t(XGetPixel(image, x, y)), p[0], p[1], p[2]);
            p[3] = 255;
        }
    XDestroyImage(image);
    return true;
}

void X11DesktopWindow::sync() { XSync(display_, False); }

} // namespace Platform
