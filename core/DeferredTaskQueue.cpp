#include "core/DeferredTaskQueue.h"

#include <utility>

void DeferredTaskQueue::post(std::function<void()> task)
{
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
}

void DeferredTaskQueue::runAll()
{
    std::vector<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        batch.swap(tasks_);
    }
    for (auto& task : batch)
        task();
}

bool DeferredTaskQueue::empty() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return tasks_.empty();
}
