#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "core/ProfilerClock.h"
#include "util/Text.h"

class BufferProfiler;

// Every BufferProfiler of the process, and the settings they share: the
// dropout threshold, whether dropout alerts are shown, whether logging is
// paused, and the time source: the profiler clock's raw ticks, or a
// nanosecond source that a test installs and moves.
// Registration and look-ups take a mutex and never run on the audio thread;
// the audio side reads only the atomic settings. [any-thread] unless marked.
class BufferProfilerRegistry {
public:
    using TimeSource = uint64_t (*)();
    static constexpr uint32_t DefaultThresholdPercent = 90;
    // The product setting (a bool) that makes each new instance profile its block pass.
    static constexpr const char* LoggingSetting = "InlineProfilerLogging";

    static BufferProfilerRegistry& instance();

    void add(BufferProfiler& profiler);
    void remove(BufferProfiler& profiler);

    // Calls `visit` for each profiler in registration order, under the registry's lock.
    void forEach(const std::function<void(BufferProfiler&)>& visit) const;
    size_t count() const;

    // A group of profilers that name the same group, in order of first registration.
    struct Group {
        Util::String name;
        std::vector<BufferProfiler*> members;
        Util::String parent;               // the members' parent, when they agree
        bool inconsistentParent = false;   // members name different parents
    };
    // What "perf list" shows: groups first, numbered from 0, then the
    // profilers of no group. [ui-thread]
    Util::String listText() const;
    // The log text of the profiler named `key` or of the group with that index;
    // nothing when neither exists. `isGroup` tells which was found. [ui-thread]
    std::optional<Util::String> logTextFor(const Util::String& key, bool& isGroup, Util::String& found) const;
    // Clears every profiler's log. [ui-thread]
    void clearLogs();

    uint32_t thresholdPercent() const { return threshold_.load(std::memory_order_relaxed); }
    void setThresholdPercent(uint32_t percent) { threshold_.store(percent, std::memory_order_relaxed); }
    bool alertsEnabled() const { return alerts_.load(std::memory_order_relaxed); }
    void setAlertsEnabled(bool on) { alerts_.store(on, std::memory_order_relaxed); }
    bool paused() const { return paused_.load(std::memory_order_relaxed); }
    void setPaused(bool on) { paused_.store(on, std::memory_order_relaxed); }

    // The time source's count now, in ticks. [audio-thread]
    uint64_t now() const
    {
        const TimeSource installed = timeSource_.load(std::memory_order_relaxed);
        return installed ? installed() : clock_.ticks();
    }
    // What one tick of now() lasts (1 for an installed source), as last
    // calibrated. [any-thread]
    double nanosecondsPerTick() const { return nanosecondsPerTick_.load(std::memory_order_relaxed); }
    // Measures the tick's length again over the whole span since the clock
    // was made, for the audio side's dropout test too; answers it. [ui-thread]
    double recalibrate();
    // A source counting nanoseconds; nullptr puts the profiler clock back. Not while audio runs.
    void installTimeSource(TimeSource source);

private:
    std::vector<Group> groupsLocked() const;

    mutable std::mutex mutex_;
    std::vector<BufferProfiler*> profilers_;
    std::atomic<uint32_t> threshold_{DefaultThresholdPercent};
    std::atomic<bool> alerts_{false};
    std::atomic<bool> paused_{false};
    const ProfilerClock clock_;
    std::atomic<TimeSource> timeSource_{nullptr};
    std::atomic<double> nanosecondsPerTick_;

    BufferProfilerRegistry();
};
