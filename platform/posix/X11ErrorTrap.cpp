#include "platform/posix/X11ErrorTrap.h"

namespace Platform {

namespace {
thread_local int lastError = 0;

int recordError(Display*, XErrorEvent* event)
{
    lastError = event->error_code;
    return 0;
}
} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display)
{
    XSync(display_, False);
    lastError = 0;
    previous_ = XSetErrorHandler(recordError);
}

X11ErrorTrap::~X11ErrorTrap()
{
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool X11ErrorTrap::failed()
{
    XSync(display_, False);
    return lastError != 0;
}

int X11ErrorTrap::errorCode() const { return lastError; }

} // namespace Platform
