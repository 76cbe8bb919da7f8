#include "core/ThreadController.h"

ThreadController::ThreadController(const Util::String& name)
    : processing_(Util::format("%1 Processing CritSec", name)), userInterface_(Util::format("%1 UI CritSec", name))
{
}

Platform::CriticalSection& ThreadController::section(uint32_t index)
{
    return index == UserInterfaceIndex ? userInterface_ : processing_;
}
