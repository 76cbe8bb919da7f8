#pragma once
#include <atomic>

namespace DSP {

// A command sent to one element. Posted through the element's mailbox, it runs
// ExecuteOnProcess on the audio side and ExecuteOnUI back on the posting side,
// round after round, until it is inactive; then the posting side deletes it.
// The framework owns it from the moment it is posted.
class DSPCommand {
public:
    DSPCommand() = default;
    DSPCommand(const DSPCommand&) = delete;
    DSPCommand& operator=(const DSPCommand&) = delete;

    // On the audio side; false when there is nothing more to do there.
    virtual bool ExecuteOnProcess() = 0;
    // On the posting side when the command comes back; false when done.
    virtual bool ExecuteOnUI() { return false; }
    virtual bool IsActive() const { return active_; }
    // [any-thread]: the command is dropped the next time the posting side sees it.
    virtual void Cancel() { cancelled_.store(true, std::memory_order_release); }
    virtual ~DSPCommand() = default;

    bool IsCancelled() const { return cancelled_.load(std::memory_order_acquire); }
    // The framework clears the active flag when an Execute operation answers false.
    void MarkInactive() { active_ = false; }

private:
    bool active_ = true;
    std::atomic<bool> cancelled_{false};
};

} // namespace DSP
