#pragma once
#include "dsp/Command.h"
#include "dsp/CommandPipeHigh.h"
#include "dsp/CommandPipeLow.h"
#include "dsp/RingQueue.h"
#include "platform/CriticalSection.h"
#include "util/Text.h"

#include <atomic>
#include <cstdint>

namespace Atomic {

// While a side processes, its record holds the processing thread's id and true;
// the previous content comes back afterwards.
struct ThreadRecord {
    uint32_t threadId = 0;
    bool valid = false;
};

// When the low side may act for a high side that has stopped calling.
struct TakeOverTimeout {
    uint32_t milliseconds = 0;
    bool enabled = false;
};

// Carries commands both ways between a high-priority side (the audio thread) and
// a low-priority side. A command posted from the low side runs ExecuteHigh on the
// high side, then ExecuteLow on the low side, and so on until it answers false;
// the low side deletes it. The high side never deletes and, once the queues have
// grown to their working size, never allocates.
//
// With the take-over timeout enabled, the low side runs the high-side halves on
// its own thread (under the processing lock, tried only) until the high side first
// calls ProcessHigh, and again once the high side has been silent for the timeout.
class CommandPipe final : public CommandPipeHigh, public CommandPipeLow {
public:
    // `processingLock`, the thread records and `owner` are not owned and must
    // outlive the pipe; each may be null.
    CommandPipe(const Util::NameRecord& name, void* owner, uint32_t capacity, TakeOverTimeout timeout,
                Platform::CriticalSection* processingLock, ThreadRecord* highThread = nullptr,
                ThreadRecord* lowThread = nullptr);
    // Deletes every command still queued (low side first) without executing it.
    ~CommandPipe() override;

    // CommandPipeHigh
    void ProcessHigh() override;
    void PostToLow(Command* command) override;
    void StopHigh() override;
    void SetHighWorker(Util::Thread* worker) override;

    // CommandPipeLow
    void ProcessLow() override;
    void PostToHigh(Command* command) override;
    void SetLowWorker(Util::Thread* worker) override;

    const Util::NameRecord& GetName() const { return name_; }
    bool IsHighRunning() const { return highRunning_.load(std::memory_order_acquire); } // [any-thread]
    const RingQueue<Command>& GetHighQueue() const { return highQueue_; }
    const RingQueue<Command>& GetLowQueue() const { return lowQueue_; }

private:
    void DrainHigh();
    void DrainLow();
    // Whether the low side acts for the high side now; clears the running flag
    // once the high side has been silent for the timeout.
    bool TakeOverHighSide();
    void PushHigh(Command* command);
    void PushLow(Command* command);
    static void Wake(const std::atomic<Util::Thread*>& worker);

    class ThreadRecordScope;

    Util::NameRecord name_;
    void* owner_;
    std::atomic<Util::Thread*> highWorker_{nullptr};
    std::atomic<Util::Thread*> lowWorker_{nullptr};
    RingQueue<Command> highQueue_;
    RingQueue<Command> lowQueue_;
    TakeOverTimeout timeout_;
    Platform::CriticalSection* processingLock_;
    std::atomic<bool> highRunning_;
    std::atomic<uint32_t> lastHighCall_{0};
    ThreadRecord* highThread_;
    ThreadRecord* lowThread_;
};

} // namespace Atomic
