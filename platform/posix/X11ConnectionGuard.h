#pragma once
#include <X11/Xlib.h>

#include <atomic>

namespace Platform::Posix {

// Keeps the loss of one of our display connections (the server going away, a
// window manager's "kill client") from ending the process. Xlib's fatal I/O
// error handler is process-wide, belongs to the host, and by default exits;
// while any guard lives, a handler is set that passes over guarded
// connections and hands every other one to the handler it replaced, which is
// put back when the last guard goes (unless someone set another meanwhile).
// Make the guard before the first request and let it outlive XCloseDisplay.
// [any-thread], not audio
class X11ConnectionGuard {
public:
    explicit X11ConnectionGuard(Display* display);
    ~X11ConnectionGuard();
    X11ConnectionGuard(const X11ConnectionGuard&) = delete;
    X11ConnectionGuard& operator=(const X11ConnectionGuard&) = delete;

    // True once the connection is gone: no request may be made on it any more.
    bool lost() const { return lost_; }

private:
    static void connectionLost(Display* display, void* guard);

    Display* display_;
    std::atomic<bool> lost_{false};
};

} // namespace Platform::Posix
