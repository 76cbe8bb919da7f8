#include "core/ProfilerClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;
using Source = ProfilerClock::Source;

double steadyNanosecondsBetween(Steady::time_point from, Steady::time_point to)
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(to - from).count());
}

class ProfilerClockSource : public ::testing::TestWithParam<Source> {};

// A span of ticks, turned into time, must fall between the steady clock's
// readings just inside and just outside it: a wrong unit or a wrongly
// calibrated tick lands far outside that bracket. The allowance covers the
// calibration's own error over a span of a few milliseconds.
TEST_P(ProfilerClockSource, TicksTurnedIntoTimeAgreeWithTheSteadyClock)
{
    const ProfilerClock clock(GetParam());
    const auto outerStart = Steady::now();
    const uint64_t first = clock.ticks();
    const auto innerStart = Steady::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto innerEnd = Steady::now();
    const uint64_t last = clock.ticks();
    const auto outerEnd = Steady::now();

    ASSERT_GT(last, first);
    const double measured = double(last - first) * clock.nanosecondsPerTick();
    const double inner = steadyNanosecondsBetween(innerStart, innerEnd);
    const double outer = steadyNanosecondsBetween(outerStart, outerEnd);
    EXPECT_GE(measured, inner * 0.99) << "inner steady span " << inner << " ns";
    EXPECT_LE(measured, outer * 1.01) << "outer steady span " << outer << " ns";
}

INSTANTIATE_TEST_SUITE_P(, ProfilerClockSource, ::testing::Values(Source::TimeStampCounter, Source::MonotonicRaw),
                         [](const auto& info) {
                             return info.param == Source::TimeStampCounter ? "TimeStampCounter" : "MonotonicRaw";
                         });

// The fallback counts nanoseconds itself, so it needs no calibration; the
// default clock takes the counter only where the machine keeps it in step.
TEST(ProfilerClock, TheFallbackCountsNanoseconds)
{
    const ProfilerClock raw(Source::MonotonicRaw);
    EXPECT_EQ(raw.source(), Source::MonotonicRaw);
    EXPECT_EQ(raw.nanosecondsPerTick(), 1.0);
    EXPECT_EQ(ProfilerClock().source(), ProfilerClock(Source::TimeStampCounter).source());
}

} // namespace
