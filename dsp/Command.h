#pragma once
#include <boost/noncopyable.hpp>

#include <cstdint>

namespace Atomic {

class CommandPipe;

// Base of every command that travels through a CommandPipe. A command is
// executed alternately on the high and the low side until one of its Execute
// operations answers false; then the low side deletes it. The life mark tells a
// living command from a destroyed one.
class Command : private boost::noncopyable {
public:
    static constexpr uint32_t kLiveMark = 0x61FDCD88u;
    static constexpr uint32_t kDeadMark = 0x1BADF00Du;

    Command() = default;

    // On the posting (low) thread, before the push towards the high side.
    virtual void OnPostToHigh() {}
    // On the high side; false makes the command inactive.
    virtual bool ExecuteHigh() { return false; }
    // On the posting (high) thread, before the push towards the low side.
    virtual void OnPostToLow() {}
    // On the low side; false makes the command inactive.
    virtual bool ExecuteLow() { return false; }
    virtual ~Command();

    // The pipe's owner, stamped when the command is posted.
    void* GetOwner() const { return owner_; }
    bool IsActive() const { return active_; }
    uint32_t GetLifeMark() const { return lifeMark_; }

private:
    friend class CommandPipe;
    void* owner_ = nullptr;
    bool active_ = true;
    uint32_t lifeMark_ = kLiveMark;
};

} // namespace Atomic
