#pragma once
#include <cstdint>

namespace Platform {

// The system's millisecond tick: a wrapping 32-bit count of milliseconds.
// Every time-out in the product is measured with it, so tests replace it with
// a FakeClock instead of sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    // [any-thread]
    virtual uint32_t tickMs() const = 0;
};

// The clock every part of the library reads. [any-thread]
const Clock& clock();
// Shorthand for clock().tickMs(). [any-thread]
uint32_t tickCount();
// Installs a clock (tests); nullptr puts the system clock back. The caller keeps
// ownership and must outlive its installation. Not for use while audio runs.
void installClock(const Clock* clock);

} // namespace Platform
