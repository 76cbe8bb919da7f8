// Command queues and pipes: a command pointer pushed and popped through our ring
// queue beside boost's lock-free single-producer queue and a mutex around a
// deque, on one thread and between two; and one command's round trip through a
// pipe.
#include <benchmark/benchmark.h>

#include "dsp/CommandPipe.h"
#include "dsp/RingQueue.h"

#include <boost/lockfree/spsc_queue.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
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

// One producer thread pushes `count` items while this thread pops them; answers
// the seconds from the start signal to the last pop.
template <typename Queue>
double TwoThreadBatch(uint32_t count)
{
    Queue queue;
    Payload payload;
    std::atomic<bool> go{false};
    std::thread producer([&] {
        while (!go.load(std::memory_order_acquire))
            std::this_thread::yield();
        for (uint32_t i = 0; i < count; ++i)
            while (!queue.TryPush(&payload))
                std::this_thread::yield();
    });
    const auto start = std::chrono::steady_clock::now();
    go.store(true, std::memory_order_release);
    for (uint32_t i = 0; i < count; ++i) {
        Payload* item = queue.TryPop();
        while (!item) {
            std::this_thread::yield();
            item = queue.TryPop();
        }
        benchmark::DoNotOptimize(item);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    producer.join();
    return elapsed.count();
}

// Time per item pair between two threads. On a shared two-core machine the
// scheduler decides much of it: a batch either runs the two threads by turns
// (a full queue's worth each) or truly side by side, where every item crosses
// between the cores' caches; which one is luck. So the figure is the median of
// many batches, each with a new producer thread, the same for every queue.
template <typename Queue>
void RingTwoThreads(benchmark::State& state)
{
    constexpr uint32_t kBatch = 20000;
    constexpr std::size_t kBatches = 31;
    for (auto _ : state) {
        std::array<double, kBatches> seconds{};
        for (double& batch : seconds)
            batch = TwoThreadBatch<Queue>(kBatch);
        std::nth_element(seconds.begin(), seconds.begin() + kBatches / 2, seconds.end());
        state.SetIterationTime(seconds[kBatches / 2] / kBatch);
    }
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
BENCHMARK_TEMPLATE(RingTwoThreads, OurQueue)->Name("RingTwoThreads/ours")->UseManualTime()->Iterations(1);
BENCHMARK_TEMPLATE(RingTwoThreads, SpscQueue)->Name("RingTwoThreads/spsc")->UseManualTime()->Iterations(1);
BENCHMARK_TEMPLATE(RingTwoThreads, MutexDeque)->Name("RingTwoThreads/mutexdeque")->UseManualTime()->Iterations(1);
BENCHMARK(PipeRoundTrip)->Name("PipeRoundTrip/ours");
