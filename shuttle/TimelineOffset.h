#pragma once
#include <atomic>
#include <cstdint>

namespace Shuttle {

// The host's timeline offset: set by a host message on any thread, used once,
// by the next clip file closed. Whoever decides that a clip closes takes a
// snapshot then; the disk thread consumes exactly that setting when it writes
// the clip's time reference, so an offset set meanwhile for the next clip
// stays for it. [any-thread]
class TimelineOffset {
public:
    struct Snapshot {
        int64_t value = 0;
        uint64_t setting = 0; // which setting (odd while unused, even once used or never set)
        bool valid() const { return (setting & 1) != 0; }
    };

    void set(int64_t value)
    {
        value_.store(value, std::memory_order_relaxed);
        setting_.store((setting_.load(std::memory_order_relaxed) | 1) + 2, std::memory_order_release);
    }
    // A setting made while the snapshot is taken may pair the new value with
    // the old setting; offsets come from the host's calls in turn, so that race
    // is the host's own.
    Snapshot snapshot() const
    {
        const uint64_t setting = setting_.load(std::memory_order_acquire);
        return {value_.load(std::memory_order_relaxed), setting};
    }
    // Marks the snapshot's setting used, unless a newer one came. [disk-thread]
    void consume(const Snapshot& used)
    {
        uint64_t expected = used.setting;
        if (used.valid())
            setting_.compare_exchange_strong(expected, used.setting + 1, std::memory_order_acq_rel);
    }

private:
    std::atomic<int64_t> value_{0};
    std::atomic<uint64_t> setting_{0};
};

} // namespace Shuttle
