#include "shuttle/EditorTasks.h"

#include <utility>

namespace Shuttle {

EditorTasks::EditorTasks() = default;

// drain() takes the queue lock after the last post: whichever thread started
// the worker, its start is seen here.
EditorTasks::~EditorTasks()
{
    drain();
    thread_.Stop();
}

// Most instances never capture a clip, so never post: the worker starts with
// the first task.
void EditorTasks::post(std::function<void()> task)
{
    {
        Platform::ScopedLock lock(queueLock_);
        tasks_.push_back(std::move(task));
        if (!thread_.IsRunning())
            thread_.Start([this](Util::Thread& self) { run(self); });
    }
    thread_.SetEvent();
}

void EditorTasks::drain()
{
    std::unique_lock<Platform::CriticalSection> lock(queueLock_);
    idle_.wait(lock, [this] { return tasks_.empty() && !busy_; });
}

void EditorTasks::run(Util::Thread& self)
{
    for (;;) {
        std::function<void()> task;
        {
            Platform::ScopedLock lock(queueLock_);
            if (!tasks_.empty()) {
                task = std::move(tasks_.front());
                tasks_.pop_front();
                busy_ = true;
            }
        }
        if (task) {
            task();
            Platform::ScopedLock lock(queueLock_);
            busy_ = false;
            idle_.notify_all();
            continue;
        }
        idle_.notify_all();
        if (self.StopRequested())
            return;
        self.WaitForEvent();
    }
}

} // namespace Shuttle
