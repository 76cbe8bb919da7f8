#include "dsp/CommandPipe.h"

#include "platform/Clock.h"
#include "platform/ThreadId.h"
#include "util/Thread.h"

namespace Atomic {

// Marks the calling thread as the one processing a side for the scope.
class CommandPipe::ThreadRecordScope {
public:
    explicit ThreadRecordScope(ThreadRecord* record) : record_(record)
    {
        if (record_) {
            saved_ = *record_;
            *record_ = {Platform::currentThreadId(), true};
        }
    }
    ~ThreadRecordScope()
    {
        if (record_)
            *record_ = saved_;
    }
    ThreadRecordScope(const ThreadRecordScope&) = delete;
    ThreadRecordScope& operator=(const ThreadRecordScope&) = delete;

private:
    ThreadRecord* record_;
    ThreadRecord saved_;
};

namespace {
Util::NameRecord queueName(const Util::NameRecord& pipe, const char* pattern)
{
    return {pipe.flag, Util::format(pattern, pipe.text)};
}
} // namespace

CommandPipe::CommandPipe(const Util::NameRecord& name, void* owner, uint32_t capacity, TakeOverTimeout timeout,
                         Platform::CriticalSection* processingLock, ThreadRecord* highThread,
                         ThreadRecord* lowThread)
    : name_(name), owner_(owner), highQueue_(queueName(name, "%1 High-Priority Queue"), capacity, true),
      lowQueue_(queueName(name, "%1 Low-Priority Queue"), capacity, true), timeout_(timeout),
      processingLock_(processingLock), highRunning_(!timeout.enabled), highThread_(highThread),
      lowThread_(lowThread)
{
}

CommandPipe::~CommandPipe()
{
    while (Command* command = lowQueue_.Pop())
        delete command;
    while (Command* command = highQueue_.Pop())
        delete command;
}

void CommandPipe::ProcessHigh()
{
    highRunning_.store(true, std::memory_order_release);
    lastHighCall_.store(Platform::tickCount(), std::memory_order_release);
    DrainHigh();
}

void CommandPipe::PostToLow(Command* command)
{
    command->owner_ = owner_;
    command->OnPostToLow();
    PushLow(command);
}

void CommandPipe::StopHigh()
{
    Platform::CriticalSection* lock = processingLock_;
    if (lock)
        lock->enter();
    highRunning_.store(false, std::memory_order_release);
    DrainHigh();
    if (lock)
        lock->leave();
}

void CommandPipe::SetHighWorker(Util::Thread* worker) { highWorker_.store(worker, std::memory_order_release); }

void CommandPipe::ProcessLow()
{
    DrainLow();
    if (!TakeOverHighSide())
        return;
    if (!processingLock_) {
        DrainHigh();
        return;
    }
    if (processingLock_->tryEnter()) {
        DrainHigh();
        processingLock_->leave();
    }
}

void CommandPipe::PostToHigh(Command* command)
{
    command->owner_ = owner_;
    command->OnPostToHigh();
    PushHigh(command);
}

void CommandPipe::SetLowWorker(Util::Thread* worker) { lowWorker_.store(worker, std::memory_order_release); }

bool CommandPipe::TakeOverHighSide()
{
    if (!highRunning_.load(std::memory_order_acquire))
        return true;
    if (!timeout_.enabled)
        return false;
    const uint32_t since = Platform::tickCount() - lastHighCall_.load(std::memory_order_acquire);
    if (since < timeout_.milliseconds)
        return false;
    highRunning_.store(false, std::memory_order_release);
    return true;
}

void CommandPipe::DrainHigh()
{
    ThreadRecordScope record(highThread_);
    while (Command* command = highQueue_.Pop()) {
        if (command->active_ && !command->ExecuteHigh())
            command->active_ = false;
        PushLow(command);
    }
}

void CommandPipe::DrainLow()
{
    ThreadRecordScope record(lowThread_);
    while (Command* command = lowQueue_.Pop()) {
        if (command->active_ && !command->ExecuteLow())
            command->active_ = false;
        if (command->active_)
            PushHigh(command);
        else
            delete command;
    }
}

void CommandPipe::PushHigh(Command* command)
{
    highQueue_.Push(command);
    Wake(highWorker_);
}

void CommandPipe::PushLow(Command* command)
{
    lowQueue_.Push(command);
    Wake(lowWorker_);
}

void CommandPipe::Wake(const std::atomic<Util::Thread*>& worker)
{
    Util::Thread* thread = worker.load(std::memory_order_acquire);
    if (thread && thread->IsRunning())
        thread->SetEvent();
}

} // namespace Atomic
