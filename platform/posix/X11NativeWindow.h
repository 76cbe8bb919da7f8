#pragma once
#include "platform/NativeWindow.h"
#include "platform/posix/X11Image.h"

#include <X11/Xlib.h>

namespace Platform {

// The native window on X11: a child window on a display connection of its
// own, drawn with XPutImage from a 32-bit image of the window's size.
class X11NativeWindow final : public NativeWindow {
public:
    X11NativeWindow(Display* display, ::Window window, const XWindowAttributes& attributes, Listener& listener);
    ~X11NativeWindow() override;

    uint64_t handle() const override { return window_; }
    void present(const uint8_t* pixels, int stride, int x, int y, int width, int height) override;
    void processEvents() override;
    void raise(bool show, bool activate) override;
    bool isVisible() const override { return mapped_; }

private:
    void handle(XEvent& event);
    void pointer(NativeInput::Kind kind, int x, int y, unsigned state, int wheel = 0);
    void key(XKeyEvent& event);

    Display* display_;
    ::Window window_;
    GC gc_;
    Posix::X11Image image_;
    Listener& listener_;
    bool mapped_ = false;
    Time lastPress_ = 0;
    int lastPressX_ = -100;
    int lastPressY_ = -100;
};

} // namespace Platform
