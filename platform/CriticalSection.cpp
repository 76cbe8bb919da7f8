#include "platform/CriticalSection.h"

#include "platform/ThreadId.h"

#include <utility>

namespace Platform {

CriticalSection::CriticalSection(Util::String name) : name_(std::move(name)) {}

uint32_t CriticalSection::self() { return currentThreadId(); }

} // namespace Platform
