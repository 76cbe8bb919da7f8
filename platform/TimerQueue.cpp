#include "platform/TimerQueue.h"

#include "platform/Clock.h"
#include "platform/SimpleTimer.h"

#include <vector>

namespace UI {

TimerQueue::~TimerQueue()
{
    for (auto& [id, timer] : timers_)
        timer->queue_ = nullptr;
}

uint64_t TimerQueue::add(SimpleTimer* timer)
{
    const uint64_t id = nextId_++;
    timers_.emplace(id, timer);
    return id;
}

void TimerQueue::remove(uint64_t id) { timers_.erase(id); }

int TimerQueue::runDue()
{
    const uint32_t now = Platform::tickCount();
    std::vector<uint64_t> ids;
    ids.reserve(timers_.size());
    for (const auto& [id, timer] : timers_)
        ids.push_back(id);
    int fired = 0;
    for (uint64_t id : ids) {
        const auto it = timers_.find(id); // a callback may have destroyed it
        if (it != timers_.end() && it->second->fireIfDue(now))
            ++fired;
    }
    return fired;
}

} // namespace UI
