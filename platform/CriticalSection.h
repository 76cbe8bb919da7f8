#pragma once
#include "util/Text.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace Platform {

// A named, recursive lock: its owner may enter again, like the critical sections
// the host side expects. Waiting is only for threads that may wait; the audio
// thread uses tryEnter where the rule says "try".
//
// Entering again is the common case on the audio thread (the entry call holds
// the processing section and every element takes it again), so the owner's
// re-entries only count, without touching the mutex.
class CriticalSection {
public:
    explicit CriticalSection(Util::String name = {});
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    const Util::String& name() const { return name_; }

    void enter() // [any-thread]
    {
        const uint32_t me = self();
        if (owner_.load(std::memory_order_relaxed) == me) {
            ++depth_;
            return;
        }
        mutex_.lock();
        owner_.store(me, std::memory_order_relaxed);
        depth_ = 1;
    }
    bool tryEnter() // [any-thread]
    {
        const uint32_t me = self();
        if (owner_.load(std::memory_order_relaxed) == me) {
            ++depth_;
            return true;
        }
        if (!mutex_.try_lock())
            return false;
        owner_.store(me, std::memory_order_relaxed);
        depth_ = 1;
        return true;
    }
    void leave() // [any-thread] & locked
    {
        if (--depth_ > 0)
            return;
        owner_.store(0, std::memory_order_relaxed);
        mutex_.unlock();
    }

    // std::lock_guard / std::unique_lock compatibility.
    void lock() { enter(); }
    bool try_lock() { return tryEnter(); }
    void unlock() { leave(); }

private:
    static uint32_t self();

    Util::String name_;
    std::mutex mutex_;
    std::atomic<uint32_t> owner_{0}; // the owning thread's id, 0 when free
    uint32_t depth_ = 0;             // touched only by the owner
};

// Scoped hold of a critical section; released on every exit, exceptions included.
using ScopedLock = std::lock_guard<CriticalSection>;
using TryLock = std::unique_lock<CriticalSection>;

} // namespace Platform
