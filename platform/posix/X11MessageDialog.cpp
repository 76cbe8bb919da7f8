#include "platform/posix/X11MessageDialog.h"

#include "util/Log.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <poll.h>

namespace Platform::Posix {

namespace {
constexpr long eventMask =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask | KeyPressMask | StructureNotifyMask;

bool isAscii(const Util::String& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool closesTheBox(KeySym key)
{
    return key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space;
}
} // namespace

std::unique_ptr<X11MessageDialog> X11MessageDialog::create(X11DisplayHandle display, const Util::String& title,
                                                           std::unique_ptr<MessageBoxFace> face)
{
    const int screen = DefaultScreen(display.get());
    Visual* visual = DefaultVisual(display.get(), screen);
    const int depth = DefaultDepth(display.get(), screen);
    if (visual->c_class != TrueColor || depth < 24) {
        Util::Log::write(Util::format("A notice needs a TrueColor screen of 24 bits; this one has depth %1", depth));
        return nullptr;
    }
    std::unique_ptr<X11MessageDialog> dialog(new X11MessageDialog(std::move(display), visual, depth, title, std::move(face)));
    return dialog->image_.valid() ? std::move(dialog) : nullptr;
}

X11MessageDialog::X11MessageDialog(X11DisplayHandle display, Visual* visual, int depth, const Util::String& title,
                                   std::unique_ptr<MessageBoxFace> face)
    : guard_(display.get()), display_(std::move(display)), face_(std::move(face)),
      width_(std::min(face_->width(), DisplayWidth(display_.get(), DefaultScreen(display_.get())))),
      height_(std::min(face_->height(), DisplayHeight(display_.get(), DefaultScreen(display_.get())))),
      image_(display_.get(), visual, depth, width_, height_),
      protocols_(XInternAtom(display_.get(), "WM_PROTOCOLS", False)),
      deleteWindow_(XInternAtom(display_.get(), "WM_DELETE_WINDOW", False))
{
    createWindow(visual, depth);
    describeWindow(title);
    image_.copyFrom(face_->draw(), face_->stride(), 0, 0, width_, height_);
}

X11MessageDialog::~X11MessageDialog()
{
    // A GC is also Xlib's memory in this process: it is freed even when the
    // connection is gone (Xlib then drops the request, as it does
    // XCloseDisplay's).
    if (gc_)
        XFreeGC(display_.get(), gc_);
    if (guard_.lost())
        return; // the connection is gone, and every resource on the server with it
    if (window_)
        XDestroyWindow(display_.get(), window_);
    XSync(display_.get(), False);
}

void X11MessageDialog::createWindow(Visual* visual, int depth)
{
    Display* display = display_.get();
    const int screen = DefaultScreen(display);
    const int x = std::max(0, (DisplayWidth(display, screen) - width_) / 2);
    const int y = std::max(0, (DisplayHeight(display, screen) - height_) / 2);
    XSetWindowAttributes settings{};
    settings.event_mask = eventMask;
    settings.background_pixmap = None; // the picture covers it all; no flash of another colour
    settings.colormap = DefaultColormap(display, screen);
    window_ = XCreateWindow(display, RootWindow(display, screen), x, y, unsigned(width_), unsigned(height_), 0, depth,
                            InputOutput, visual, CWEventMask | CWBackPixmap | CWColormap, &settings);
    gc_ = XCreateGC(display, window_, 0, nullptr);

    // A fixed size at the middle of the screen.
    XSizeHints size{};
    size.flags = PPosition | PSize | PMinSize | PMaxSize;
    size.x = x;
    size.y = y;
    size.width = size.min_width = size.max_width = width_;
    size.height = size.min_height = size.max_height = height_;
    XSetWMNormalHints(display, window_, &size);
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(display, window_, &hints);
}

void X11MessageDialog::describeWindow(const Util::String& title)
{
    Display* display = display_.get();
    setTextProperty("WM_NAME", title);
    setTextProperty("_NET_WM_NAME", title);
    char name[] = "relay-notice";
    char kind[] = "Relay";
    XClassHint windowClass{name, kind};
    XSetClassHint(display, window_, &windowClass);
    Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window_, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dialogType), 1);
    XSetWMProtocols(display, window_, &deleteWindow_, 1);
}

// WM_NAME is Latin-1 by its type STRING; a title beyond ASCII goes as UTF-8,
// which window managers read as well, and _NET_WM_NAME is UTF-8 always.
void X11MessageDialog::setTextProperty(const char* property, const Util::String& text)
{
    Display* display = display_.get();
    const bool legacy = Util::String(property) == "WM_NAME";
    const Atom type = legacy && isAscii(text) ? XA_STRING : XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window_, XInternAtom(display, property, False), type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
}

void X11MessageDialog::run()
{
    Display* display = display_.get();
    XMapRaised(display, window_);
    XFlush(display);
    while (!closed_ && !guard_.lost()) {
        if (XPending(display) == 0) {
            waitForEvents();
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
}

void X11MessageDialog::waitForEvents() const
{
    pollfd connection{ConnectionNumber(display_.get()), POLLIN, 0};
    ::poll(&connection, 1, -1);
}

void X11MessageDialog::handle(const XEvent& event)
{
    const auto onButton = [this](int x, int y) { return face_->onButton(x, y); };
    switch (event.type) {
    case Expose: {
        const auto& e = event.xexpose;
        image_.put(display_.get(), window_, gc_, {e.x, e.y, e.width, e.height});
        break;
    }
    case ButtonPress:
        if (event.xbutton.button == Button1) {
            holding_ = onButton(event.xbutton.x, event.xbutton.y);
            showPressed(holding_);
        }
        break;
    case MotionNotify:
        if (holding_)
            showPressed(onButton(event.xmotion.x, event.xmotion.y));
        break;
    case ButtonRelease:
        // A click is a press and a release both on the button.
        if (event.xbutton.button == Button1 && holding_) {
            closed_ = onButton(event.xbutton.x, event.xbutton.y);
            holding_ = false;
            showPressed(false);
        }
        break;
    case KeyPress: {
        XKeyEvent key = event.xkey;
        if (closesTheBox(XLookupKeysym(&key, 0)))
            closed_ = true;
        break;
    }
    case ClientMessage:
        if (event.xclient.message_type == protocols_ && Atom(event.xclient.data.l[0]) == deleteWindow_)
            closed_ = true;
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window_) {
            window_ = 0;
            closed_ = true;
        }
        break;
    default: break;
    }
}

// The button looks sunken while the pointer holds it down over it.
void X11MessageDialog::showPressed(bool pressed)
{
    if (pressed == face_->buttonPressed())
        return;
    face_->setButtonPressed(pressed);
    repaint();
}

void X11MessageDialog::repaint()
{
    const X11Image::Area area = image_.copyFrom(face_->draw(), face_->stride(), 0, 0, width_, height_);
    image_.put(display_.get(), window_, gc_, area);
    XFlush(display_.get());
}

} // namespace Platform::Posix
