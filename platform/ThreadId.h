#pragma once
#include <cstdint>

namespace Platform {

// The operating system's id of the calling thread. [any-thread]
uint32_t currentThreadId();

} // namespace Platform
