#pragma once
#include <functional>
#include <mutex>
#include <vector>

// Work queued for the idle service (selector 39): posted from any thread, run
// in posting order on the thread that calls the idle service.
class DeferredTaskQueue {
public:
    void post(std::function<void()> task); // [any-thread], not audio
    // Runs every task queued before the call; tasks posted meanwhile wait for the
    // next run. [ui-thread]
    void runAll();
    bool empty() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::function<void()>> tasks_;
};
