#pragma once
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "util/Thread.h"

namespace Shuttle {

// The editor's start-up key, its launch and the message that follows run here,
// in the order posted, so that neither the shell nor a notice ever stalls the
// audio or render thread that ended a capture. Destruction runs what is still
// queued, then stops.
class EditorTasks {
public:
    EditorTasks();
    ~EditorTasks();
    EditorTasks(const EditorTasks&) = delete;
    EditorTasks& operator=(const EditorTasks&) = delete;

    void post(std::function<void()> task); // [any-thread]
    // Blocks until everything posted before the call has run (tests, shutdown). [any-thread], not audio
    void drain();

private:
    void run(Util::Thread& self);

    std::mutex mutex_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    Util::Thread thread_{"Shuttle Editor Tasks"};
};

} // namespace Shuttle
