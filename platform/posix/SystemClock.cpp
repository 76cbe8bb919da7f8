#include "platform/posix/SystemClock.h"

#include <atomic>
#include <time.h>

namespace Platform {
namespace Posix {

uint32_t SystemClock::tickMs() const
{
    // A millisecond tick needs no finer clock than the kernel's own tick,
    // and the coarse clock costs a fraction of the precise one on every block.
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    const uint64_t ms = uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
    return uint32_t(ms);
}

} // namespace Posix

namespace {
const Posix::SystemClock systemClock;
std::atomic<const Clock*> installed{nullptr};
} // namespace

const Clock& clock()
{
    const Clock* c = installed.load(std::memory_order_acquire);
    return c ? *c : systemClock;
}

uint32_t tickCount() { return clock().tickMs(); }

void installClock(const Clock* c) { installed.store(c, std::memory_order_release); }

} // namespace Platform
