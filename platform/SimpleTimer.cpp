#include "platform/SimpleTimer.h"

#include "platform/Clock.h"

namespace UI {

SimpleTimer::SimpleTimer(TimerQueue& queue, uint32_t intervalMs, std::function<void()> tick)
    : queue_(&queue), id_(queue.add(this)), intervalMs_(intervalMs), lastMs_(Platform::tickCount()),
      tick_(std::move(tick))
{
}

SimpleTimer::~SimpleTimer()
{
    if (queue_)
        queue_->remove(id_);
}

bool SimpleTimer::fireIfDue(uint32_t now)
{
    if (uint32_t(now - lastMs_) < intervalMs_)
        return false;
    lastMs_ = now;
    if (tick_)
        tick_();
    return true;
}

} // namespace UI
