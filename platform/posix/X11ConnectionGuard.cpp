#include "platform/posix/X11ConnectionGuard.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace Platform::Posix {

namespace {
std::mutex guardedMutex;
std::vector<Display*> guarded;
XIOErrorHandler replacedHandler = nullptr;

int passOverGuarded(Display* display)
{
    XIOErrorHandler next = nullptr;
    {
        const std::lock_guard<std::mutex> lock(guardedMutex);
        if (std::find(guarded.begin(), guarded.end(), display) != guarded.end())
            return 0; // the guard's exit handler ends what used the connection
        next = replacedHandler;
    }
    return next ? next(display) : 0;
}
} // namespace

X11ConnectionGuard::X11ConnectionGuard(Display* display) : display_(display)
{
    {
        const std::lock_guard<std::mutex> lock(guardedMutex);
        if (guarded.empty())
            replacedHandler = XSetIOErrorHandler(passOverGuarded);
        guarded.push_back(display_);
    }
    XSetIOErrorExitHandler(display_, &X11ConnectionGuard::connectionLost, this);
}

X11ConnectionGuard::~X11ConnectionGuard()
{
    const std::lock_guard<std::mutex> lock(guardedMutex);
    guarded.erase(std::find(guarded.begin(), guarded.end(), display_));
    if (!guarded.empty())
        return;
    const XIOErrorHandler current = XSetIOErrorHandler(replacedHandler);
    if (current != passOverGuarded)
        XSetIOErrorHandler(current); // the host set its own meanwhile: keep that one
}

void X11ConnectionGuard::connectionLost(Display*, void* guard) { static_cast<X11ConnectionGuard*>(guard)->lost_ = true; }

} // namespace Platform::Posix
