#include "platform/posix/X11NativeWindow.h"

#include "platform/posix/X11Connection.h"
#include "platform/posix/X11ErrorTrap.h"
#include "util/Log.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Platform {

namespace {
constexpr long eventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask |
                           KeyPressMask | StructureNotifyMask;
constexpr Time doubleClickMs = 400;

uint32_t modifiersOf(unsigned state)
{
    uint32_t m = 0;
    if (state & ShiftMask)
        m |= 1;
    if (state & ControlMask)
        m |= 2;
    if (state & Mod1Mask)
        m |= 4;
    if (state & Mod4Mask)
        m |= 8;
    if (state & Mod5Mask)
        m |= 16;
    if (state & LockMask)
        m |= 32; // Caps Lock
    return m;
}
} // namespace

std::unique_ptr<NativeWindow> NativeWindow::createChild(uint64_t parent, int width, int height, Listener& listener)
{
    Display* display = Posix::openX11Display();
    if (!display) {
        Util::Log::write("Can't open the X display for the plug-in window");
        return nullptr;
    }
    ::Window window = 0;
    XWindowAttributes attributes{};
    bool made = false;
    {
        X11ErrorTrap trap(display);
        XSetWindowAttributes settings{};
        settings.event_mask = eventMask;
        settings.background_pixmap = None;
        settings.bit_gravity = NorthWestGravity;
        // CopyFromParent depth and visual: a child must match its parent.
        window = XCreateWindow(display, ::Window(parent), 0, 0, unsigned(width), unsigned(height), 0, CopyFromParent,
                               InputOutput, CopyFromParent, CWEventMask | CWBackPixmap | CWBitGravity, &settings);
        made = !trap.failed() && XGetWindowAttributes(display, window, &attributes) && !trap.failed();
        if (made && (attributes.visual->c_class != TrueColor || attributes.depth < 24)) {
            Util::Log::write(Util::format(
                "The plug-in window needs a TrueColor visual of 24 bits; the parent has depth %1", attributes.depth));
            XDestroyWindow(display, window);
            made = false;
        } else if (!made) {
            char hex[32];
            std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(parent));
            Util::Log::write(Util::format("Can't create the plug-in window in parent window 0x%1", hex));
        }
    }
    if (!made) {
        XCloseDisplay(display);
        return nullptr;
    }
    auto native = std::make_unique<X11NativeWindow>(display, window, attributes, listener);
    XMapWindow(display, window);
    XFlush(display);
    return native;
}

X11NativeWindow::X11NativeWindow(Display* display, ::Window window, const XWindowAttributes& attributes,
                                 Listener& listener)
    : display_(display), window_(window), gc_(XCreateGC(display, window, 0, nullptr)),
      image_(display, attributes.visual, attributes.depth, attributes.width, attributes.height), listener_(listener)
{
}

X11NativeWindow::~X11NativeWindow()
{
    {
        // The host may have destroyed its parent window, and ours with it.
        X11ErrorTrap trap(display_);
        if (window_)
            XDestroyWindow(display_, window_);
        XFreeGC(display_, gc_);
    }
    XCloseDisplay(display_);
}

void X11NativeWindow::present(const uint8_t* pixels, int stride, int x, int y, int width, int height)
{
    if (!window_)
        return;
    const Posix::X11Image::Area area = image_.copyFrom(pixels, stride, x, y, width, height);
    if (area.empty())
        return;
    X11ErrorTrap trap(display_);
    image_.put(display_, window_, gc_, area);
}

void X11NativeWindow::processEvents()
{
    while (window_ && XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        handle(event);
    }
}

void X11NativeWindow::pointer(NativeInput::Kind kind, int x, int y, unsigned state, int wheel)
{
    NativeInput input;
    input.kind = kind;
    input.x = x;
    input.y = y;
    input.modifiers = modifiersOf(state);
    input.wheelDelta = wheel;
    listener_.nativeInput(input);
}

void X11NativeWindow::handle(XEvent& event)
{
    switch (event.type) {
    case Expose: {
        NativeInput input;
        input.kind = NativeInput::Kind::Exposed;
        input.x = event.xexpose.x;
        input.y = event.xexpose.y;
        input.width = event.xexpose.width;
        input.height = event.xexpose.height;
        listener_.nativeInput(input);
        break;
    }
    case MapNotify: mapped_ = true; break;
    case UnmapNotify: mapped_ = false; break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window_) {
            window_ = 0;
            mapped_ = false;
            NativeInput input;
            input.kind = NativeInput::Kind::Closed;
            listener_.nativeInput(input);
        }
        break;
    case MotionNotify: {
        // Only the latest position of a burst of motion matters.
        while (XCheckTypedWindowEvent(display_, window_, MotionNotify, &event)) {
        }
        const auto& m = event.xmotion;
        pointer(m.state & Button1Mask ? NativeInput::Kind::Drag : NativeInput::Kind::Move, m.x, m.y, m.state);
        break;
    }
    case ButtonPress: {
        const auto& b = event.xbutton;
        if (b.button == Button1) {
            const bool twice = b.time - lastPress_ < doubleClickMs && std::abs(b.x - lastPressX_) < 4 &&
                               std::abs(b.y - lastPressY_) < 4 && lastPress_ != 0;
            lastPress_ = twice ? 0 : b.time;
            lastPressX_ = b.x;
            lastPressY_ = b.y;
            pointer(twice ? NativeInput::Kind::DoubleDown : NativeInput::Kind::Down, b.x, b.y, b.state);
        } else if (b.button == Button3) {
            pointer(NativeInput::Kind::RightDown, b.x, b.y, b.state);
        } else if (b.button == Button4 || b.button == Button5) {
            pointer(NativeInput::Kind::Wheel, b.x, b.y, b.state, b.button == Button4 ? 120 : -120);
        }
        break;
    }
    case ButtonRelease: {
        const auto& b = event.xbutton;
        if (b.button == Button1)
            pointer(NativeInput::Kind::Up, b.x, b.y, b.state);
        else if (b.button == Button3)
            pointer(NativeInput::Kind::RightUp, b.x, b.y, b.state);
        break;
    }
    case LeaveNotify:
        if (event.xcrossing.mode == NotifyNormal)
            pointer(NativeInput::Kind::Leave, event.xcrossing.x, event.xcrossing.y, event.xcrossing.state);
        break;
    case KeyPress: key(event.xkey); break;
    default: break;
    }
}

void X11NativeWindow::key(XKeyEvent& event)
{
    char text[32] = {};
    KeySym sym = 0;
    const int length = XLookupString(&event, text, sizeof text - 1, &sym, nullptr);
    NativeInput input;
    input.kind = NativeInput::Kind::Key;
    input.modifiers = modifiersOf(event.state);
    switch (sym) {
    case XK_BackSpace: input.key = NativeInput::Backspace; break;
    case XK_Delete: input.key = NativeInput::Delete; break;
    case XK_Left: input.key = NativeInput::Left; break;
    case XK_Right: input.key = NativeInput::Right; break;
    case XK_Up: input.key = NativeInput::Up; break;
    case XK_Down: input.key = NativeInput::Down; break;
    case XK_Home: input.key = NativeInput::Home; break;
    case XK_End: input.key = NativeInput::End; break;
    case XK_Return:
    case XK_KP_Enter: input.key = NativeInput::Return; break;
    case XK_Escape: input.key = NativeInput::Escape; break;
    case XK_Tab: input.key = NativeInput::Tab; break;
    default:
        // XLookupString gives Latin-1; printable ASCII is the same in UTF-8.
        for (int i = 0; i < length; ++i)
            if (static_cast<unsigned char>(text[i]) >= 0x20 && static_cast<unsigned char>(text[i]) < 0x7F)
                input.text += text[i];
        if (input.text.empty())
            return;
    }
    listener_.nativeInput(input);
}

void X11NativeWindow::raise(bool show, bool activate)
{
    if (!window_)
        return;
    X11ErrorTrap trap(display_);
    if (show)
        XMapWindow(display_, window_);
    XRaiseWindow(display_, window_);
    if (activate)
        XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
}

} // namespace Platform
