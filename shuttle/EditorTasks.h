#pragma once
#include <condition_variable>
#include <deque>
#include <functional>

#include "platform/CriticalSection.h"
#include "util/Thread.h"

namespace Shuttle {

// The editor's start-up key, its launch and the message that follows run here,
// in the order posted, so that neither the shell, the settings store nor a
// notice ever stalls the shuttle's disk thread that ended a capture, let alone
// the audio thread. The worker thread starts with the first task posted.
// Destruction runs what is still queued, then stops.
class EditorTasks {
public:
    EditorTasks();
    ~EditorTasks();
    EditorTasks(const EditorTasks&) = delete;
    EditorTasks& operator=(const EditorTasks&) = delete;

    void post(std::function<void()> task); // [any-thread], not audio
    // Blocks until everything posted before the call has run (tests, shutdown). [any-thread], not audio
    void drain();
    // The queue's lock, held briefly by posters and the worker (tests hold it).
    Platform::CriticalSection& queueLock() { return queueLock_; }

private:
    void run(Util::Thread& self);

    Platform::CriticalSection queueLock_{"Shuttle Editor Tasks Lock"};
    std::condition_variable_any idle_;
    std::deque<std::function<void()>> tasks_;
    bool busy_ = false;
    Util::Thread thread_{"Shuttle Editor Tasks"};
};

} // namespace Shuttle
