#pragma once
#include <cstdint>
#include <ctime>

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

// The profiler's tick counter, chosen once when it is made: the processor's
// time-stamp counter on x86-64 when it runs at one rate whatever the cores'
// frequency and sleep states and the kernel keeps its own time with it (so
// it has found the counters of every core in step); otherwise
// CLOCK_MONOTONIC_RAW in nanoseconds. A read of the counter is a single
// instruction, cheap enough for every block of the audio thread. Ticks
// become time through nanosecondsPerTick(): the counter against the steady
// clock from a reading taken when the object was made until the call, off
// the audio thread; the longer the span, the finer the figure.
class ProfilerClock {
public:
    enum class Source { TimeStampCounter, MonotonicRaw };

    // Chooses the source and takes the first reading; spins about two
    // milliseconds so that the first figure already has a span. [any-thread], not audio
    ProfilerClock();
    // The same with `preferred` when this machine can give it, else
    // CLOCK_MONOTONIC_RAW. [any-thread], not audio
    explicit ProfilerClock(Source preferred);

    // The counter now. [audio-thread]
    uint64_t ticks() const
    {
#if defined(__x86_64__)
        if (source_ == Source::TimeStampCounter)
            return __rdtsc();
#endif
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC_RAW, &now);
        return uint64_t(now.tv_sec) * 1'000'000'000u + uint64_t(now.tv_nsec);
    }

    Source source() const { return source_; }
    // 1 for CLOCK_MONOTONIC_RAW. [any-thread], not audio
    double nanosecondsPerTick() const;

    // A tick count and the steady clock's nanoseconds at the same moment.
    struct Reading {
        uint64_t ticks = 0;
        int64_t nanoseconds = 0;
    };

private:
    static Source chooseSource(Source preferred);
    Reading read() const;

    Source source_;
    Reading first_;
};
