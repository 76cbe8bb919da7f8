#pragma once
#include <cstddef>
#include <cstdint>
#include <map>

namespace UI {

class SimpleTimer;

// The timers of one window tree. They run only when the queue is run: from the
// editor's idle call and from the instance's idle service, on the
// user-interface thread, against the system tick (Platform::tickCount). [ui-thread]
class TimerQueue {
public:
    TimerQueue() = default;
    ~TimerQueue();
    TimerQueue(const TimerQueue&) = delete;
    TimerQueue& operator=(const TimerQueue&) = delete;

    // Fires every timer whose interval has passed; a timer fires at most once a
    // run. Timers may be created or destroyed by the callbacks. Returns the
    // number fired.
    int runDue();
    size_t size() const { return timers_.size(); }

private:
    friend class SimpleTimer;
    uint64_t add(SimpleTimer* timer);
    void remove(uint64_t id);

    std::map<uint64_t, SimpleTimer*> timers_;
    uint64_t nextId_ = 1;
};

} // namespace UI
