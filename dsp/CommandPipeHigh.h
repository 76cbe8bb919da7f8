#pragma once

namespace Util {
class Thread;
}

namespace Atomic {

class Command;

// The side of a CommandPipe that the high-priority (audio) side holds.
class CommandPipeHigh {
public:
    // Runs every command waiting for the high side and marks the high side as
    // running. [audio-thread] & the pipe's processing lock
    virtual void ProcessHigh() = 0;
    // Hands a command to the low side; the pipe owns it from here. [audio-thread]
    virtual void PostToLow(Command* command) = 0;
    // The high side stops: waits for the processing lock, clears the running flag
    // and runs what is waiting once. [any-thread] but the audio thread
    virtual void StopHigh() = 0;
    // The worker woken when a command is pushed towards the high side; null for none.
    virtual void SetHighWorker(Util::Thread* worker) = 0; // [any-thread]
    virtual ~CommandPipeHigh() = default;
};

} // namespace Atomic
