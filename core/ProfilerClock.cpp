#include "core/ProfilerClock.h"

#include <chrono>
#include <fstream>
#include <string>

#if defined(__x86_64__)
#include <cpuid.h>
#endif

namespace {
using Steady = std::chrono::steady_clock;

int64_t steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Steady::now().time_since_epoch()).count();
}

#if defined(__x86_64__)
// CPUID leaf 0x80000007, EDX bit 8: the counter ticks at a constant rate in
// every power and frequency state.
bool counterIsInvariant()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid_max(0x80000000u, nullptr) < 0x80000007u || !__get_cpuid(0x80000007u, &a, &b, &c, &d))
        return false;
    return (d & (1u << 8)) != 0;
}

// The kernel uses the counter for its own clock only after checking that the
// cores' counters agree, so a block that moves to another core mid-way still
// measures right.
bool kernelKeepsTimeWithTheCounter()
{
    std::ifstream file("/sys/devices/system/clocksource/clocksource0/current_clocksource");
    std::string name;
    return std::getline(file, name) && name == "tsc";
}
#endif

} // namespace

ProfilerClock::ProfilerClock() : ProfilerClock(Source::TimeStampCounter) {}

ProfilerClock::ProfilerClock(Source preferred) : source_(chooseSource(preferred)), first_(read())
{
    if (source_ == Source::MonotonicRaw)
        return;
    constexpr int64_t Span = 2'000'000; // ns; a preemption in the spin costs nothing, both clocks go on
    while (steadyNanoseconds() - first_.nanoseconds < Span) {
    }
    if (read().ticks <= first_.ticks)
        source_ = Source::MonotonicRaw; // a counter that does not move is no clock
}

ProfilerClock::Source ProfilerClock::chooseSource(Source preferred)
{
#if defined(__x86_64__)
    if (preferred == Source::TimeStampCounter && counterIsInvariant() && kernelKeepsTimeWithTheCounter())
        return Source::TimeStampCounter;
#endif
    (void)preferred;
    return Source::MonotonicRaw;
}

// The steady time read between two tick reads; of a few tries the narrowest
// bracket wins, so that a preemption between the reads does not skew it.
ProfilerClock::Reading ProfilerClock::read() const
{
    Reading best;
    uint64_t narrowest = UINT64_MAX;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const uint64_t before = ticks();
        const int64_t nanoseconds = steadyNanoseconds();
        const uint64_t after = ticks();
        if (after - before < narrowest) {
            narrowest = after - before;
            best = {before + (after - before) / 2, nanoseconds};
        }
    }
    return best;
}

double ProfilerClock::nanosecondsPerTick() const
{
    if (source_ == Source::MonotonicRaw)
        return 1.0;
    const Reading now = read();
    return double(now.nanoseconds - first_.nanoseconds) / double(now.ticks - first_.ticks);
}
