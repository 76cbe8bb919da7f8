#include "support/FakeClock.h"

namespace Platform {

FakeClock::FakeClock(uint32_t startMs) : now_(startMs) { installClock(this); }

FakeClock::~FakeClock() { installClock(nullptr); }

} // namespace Platform
