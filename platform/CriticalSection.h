#pragma once
#include "util/Text.h"

#include <mutex>

namespace Platform {

// A named, recursive lock: its owner may enter again, like the critical sections
// the host side expects. Waiting is only for threads that may wait; the audio
// thread uses tryEnter where the rule says "try".
class CriticalSection {
public:
    explicit CriticalSection(Util::String name = {});
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    const Util::String& name() const { return name_; }

    void enter() { mutex_.lock(); }          // [any-thread]
    bool tryEnter() { return mutex_.try_lock(); } // [any-thread]
    void leave() { mutex_.unlock(); }        // [any-thread] & locked

    // std::lock_guard / std::unique_lock compatibility.
    void lock() { enter(); }
    bool try_lock() { return tryEnter(); }
    void unlock() { leave(); }

private:
    Util::String name_;
    std::recursive_mutex mutex_;
};

// Scoped hold of a critical section; released on every exit, exceptions included.
using ScopedLock = std::lock_guard<CriticalSection>;
using TryLock = std::unique_lock<CriticalSection>;

} // namespace Platform
