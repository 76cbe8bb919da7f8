#pragma once
#include "platform/TimerQueue.h"

#include <cstdint>
#include <functional>

namespace UI {

// Calls its callback on the user-interface thread every interval (milliseconds)
// until destroyed. Runs through its TimerQueue. [ui-thread]
class SimpleTimer {
public:
    SimpleTimer(TimerQueue& queue, uint32_t intervalMs, std::function<void()> tick);
    ~SimpleTimer();
    SimpleTimer(const SimpleTimer&) = delete;
    SimpleTimer& operator=(const SimpleTimer&) = delete;

    uint32_t interval() const { return intervalMs_; }

private:
    friend class TimerQueue;
    // Fires when the interval has passed since the last firing.
    bool fireIfDue(uint32_t now);

    TimerQueue* queue_;
    uint64_t id_;
    uint32_t intervalMs_;
    uint32_t lastMs_;
    std::function<void()> tick_;
};

} // namespace UI
