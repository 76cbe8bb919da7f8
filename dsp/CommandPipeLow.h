#pragma once

namespace Util {
class Thread;
}

namespace Atomic {

class Command;

// The side of a CommandPipe that the low-priority (user-interface or worker)
// side holds.
class CommandPipeLow {
public:
    // Runs every command waiting for the low side, deleting the finished ones;
    // then acts for the high side when that side is silent (see CommandPipe).
    // [ui-thread] or the low-side worker
    virtual void ProcessLow() = 0;
    // Hands a command to the high side; the pipe owns it from here. [any-thread] but the audio thread
    virtual void PostToHigh(Command* command) = 0;
    // The worker woken when a command is pushed towards the low side; null for none.
    virtual void SetLowWorker(Util::Thread* worker) = 0; // [any-thread]
    virtual ~CommandPipeLow() = default;
};

} // namespace Atomic
