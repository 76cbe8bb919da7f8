// Command queues and pipes: a command pointer pushed and popped through our ring
// queue beside boost's lock-free single-producer queue and a mutex around a
// deque, on one thread and between two; and one command's round trip through a
// pipe.
#include <benchmark/benchmark.h>

#include "dsp/CommandPipe.h"
#include "dsp/RingQueue.h"

#include <boost/lockfree/spsc_queue.hpp>

#include <deque>
#include <mutex>
#include <thread>

namespace {

constexpr uint32_t kSlots = 1024;

struct Payload {
    int value = 0;
};

// The three queues behind one interface: TryPush / TryPop of a pointer.
class OurQueue {
public:
    bool TryPush(Payload* item) { return queue_.Push(item); }
    Payload* TryPop() { return queue_.Pop(); }

private:
    Atomic::RingQueue<Payload> queue_{{0, "Bench Queue"}, kSlots, false};
};

class SpscQueue {
public:
    bool TryPush(Payload* item) { return queue_.push(item); }
    Payload* TryPop()
    {
        Payload* item = nullptr;
        return queue_.pop(item) ? item : nullptr;
    }

private:
    boost::lockfree::spsc_queue<Payload*> queue_{kSlots};
};

class MutexDeque {
public:
    bool TryPush(Payload* item)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (deque_.size() >= kSlots - 1)
            return false;
        deque_.push_back(item);
        return true;
    }
    Payload* TryPop()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (deque_.empty())
            return nullptr;
        Payload* item = deque_.front();
        deque_.pop_front();
        return item;
    }

private:
    std::mutex mutex_;
    std::deque<Payload*> deque_;
};

template <typename Queue>
void RingPushPop(benchmark::State& state)
{
    Queue queue;
    Payload payload;
    for (auto _ : state) {
        queue.TryPush(&payload);
        benchmark::DoNotOptimize(queue.TryPop());
    }
    state.SetItemsProcessed(state.iterations());
}

// A producer thread pushes as many items as the timed loop pops.
template <typename Queue>
void RingTwoThreads(benchmark::State& state)
{
    Queue queue;
    Payload payload;
    const auto count = state.max_iterations;
    std::thread producer([&] {
        for (benchmark::IterationCount i = 0; i < count; ++i)
            while (!queue.TryPush(&payload))
                std::this_thread::yield();
    });
    for (auto _ : state) {
        Payload* item = queue.TryPop();
        while (!item) {
            std::this_thread::yield();
            item = queue.TryPop();
        }
        benchmark::DoNotOptimize(item);
    }
    producer.join();
    state.SetItemsProcessed(state.iterations());
}

class RoundTrip final : public Atomic::Command {
public:
    bool ExecuteHigh() override { return true; }
    bool ExecuteLow() override { return false; }
};

void PipeRoundTrip(benchmark::State& state)
{
    Platform::CriticalSection lock("Bench Pipe Critical Section");
    Atomic::CommandPipe pipe({0, "Bench Pipe"}, nullptr, 2000, {1024, true}, &lock);
    for (auto _ : state) {
        pipe.PostToHigh(new RoundTrip);
        {
            Platform::ScopedLock processing(lock);
            pipe.ProcessHigh();
        }
        pipe.ProcessLow();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK_TEMPLATE(RingPushPop, OurQueue)->Name("RingPushPop/ours");
BENCHMARK_TEMPLATE(RingPushPop, SpscQueue)->Name("RingPushPop/spsc");
BENCHMARK_TEMPLATE(RingPushPop, MutexDeque)->Name("RingPushPop/mutexdeque");
BENCHMARK_TEMPLATE(RingTwoThreads, OurQueue)->Name("RingTwoThreads/ours")->UseRealTime();
BENCHMARK_TEMPLATE(RingTwoThreads, SpscQueue)->Name("RingTwoThreads/spsc")->UseRealTime();
BENCHMARK_TEMPLATE(RingTwoThreads, MutexDeque)->Name("RingTwoThreads/mutexdeque")->UseRealTime();
BENCHMARK(PipeRoundTrip)->Name("PipeRoundTrip/ours");
