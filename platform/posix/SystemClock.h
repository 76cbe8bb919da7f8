#pragma once
#include "platform/Clock.h"

namespace Platform::Posix {

// CLOCK_MONOTONIC in milliseconds, truncated to 32 bits like a tick count.
class SystemClock final : public Clock {
public:
    uint32_t tickMs() const override;
};

} // namespace Platform::Posix
