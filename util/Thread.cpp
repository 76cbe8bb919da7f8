#include "util/Thread.h"

#include <utility>

namespace Util {

Thread::Thread(String name) : name_(std::move(name)) {}

Thread::~Thread() { Stop(); }

void Thread::Start(Body body)
{
    if (thread_.joinable())
        return;
    stopRequested_.store(false, std::memory_order_release);
    running_.store(true, std::memory_order_release);
    thread_ = std::thread([this, body = std::move(body)] {
        body(*this);
        running_.store(false, std::memory_order_release);
    });
}

void Thread::Stop()
{
    if (!thread_.joinable())
        return;
    stopRequested_.store(true, std::memory_order_release);
    SetEvent();
    thread_.join();
}

void Thread::SetEvent()
{
    event_.store(true, std::memory_order_release);
    event_.notify_one();
}

void Thread::WaitForEvent()
{
    while (!event_.exchange(false, std::memory_order_acq_rel))
        event_.wait(false, std::memory_order_acquire);
}

} // namespace Util
