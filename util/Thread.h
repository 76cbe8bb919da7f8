#pragma once
#include "util/Text.h"

#include <atomic>
#include <functional>
#include <thread>

namespace Util {

// A named worker thread with one auto-reset event. The body runs once on the
// worker and usually loops: wait for the event, do the work, until asked to stop.
// Setting the event never blocks, so the audio thread may wake a worker.
class Thread {
public:
    using Body = std::function<void(Thread&)>;

    explicit Thread(String name);
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    const String& GetName() const { return name_; }

    // Starts the worker; a second start while it runs is ignored. [any-thread],
    // not audio, one caller at a time
    void Start(Body body);
    // Asks the body to end, wakes it and waits for it. [ui-thread], not the worker
    void Stop();

    bool IsRunning() const { return running_.load(std::memory_order_acquire); } // [any-thread]
    bool StopRequested() const { return stopRequested_.load(std::memory_order_acquire); } // [any-thread]

    // Wakes the worker. [any-thread], including the audio thread
    void SetEvent();
    // Waits until the event is set, then clears it. [worker]
    void WaitForEvent();

private:
    String name_;
    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> event_{false};
};

} // namespace Util
