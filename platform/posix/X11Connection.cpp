#include "platform/posix/X11Connection.h"

#include <chrono>
#include <thread>

namespace Platform::Posix {

Display* openX11Display()
{
    constexpr int attempts = 4;
    for (int i = 0; i < attempts; ++i) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (i + 1 < attempts)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

} // namespace Platform::Posix
