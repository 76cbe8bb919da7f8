#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "core/EntryProtocol.h"
#include "wrapper/HostDescription.h"

namespace Wrapper {

// Answers the core's reverse calls for one instance: the host application's
// name and version, the activation words, the host's time figures; and takes
// the core's update requests (a status word changed, the parameter list is to
// be read again), which the wrapper collects with takeUpdates(). A wrapper
// overrides what its host format needs. The core calls from the host's audio
// and user-interface threads: every answer is [any-thread] and the defaults
// neither allocate nor wait.
class HostCallbacks {
public:
    struct Updates {
        bool statusWords = false;
        bool parameterList = false;
    };

    explicit HostCallbacks(HostDescription host);
    virtual ~HostCallbacks() = default;
    HostCallbacks(const HostCallbacks&) = delete;
    HostCallbacks& operator=(const HostCallbacks&) = delete;

    const HostDescription& host() const { return host_; }

    // The reverse callback handed to the core at creation; the handle is the
    // HostCallbacks object.
    static int32_t reverseCall(int32_t protocol, uint32_t selector, uint32_t index, void* handle, void* record);

    // One reverse call; 0 when answered. Routes to the operations below.
    virtual int32_t answer(EntryProtocol::ReverseSelector selector, uint32_t index, void* record);

    // The update requests since the last call, cleared. [any-thread]
    Updates takeUpdates();

protected:
    virtual void statusWordChanged(uint32_t word, uint32_t value);
    virtual void parameterListChanged();
    virtual void parameterGesture(EntryProtocol::GestureKind, uint32_t /*index*/, float /*value*/) {}
    // Reverse 18: the first word is compared with 1.
    virtual void activationWords(uint32_t& first, uint32_t& second, uint32_t& third);

private:
    int32_t answerHostApplication(void* record);

    HostDescription host_;
    std::string applicationText_;
    std::atomic<bool> statusWordsChanged_{false};
    std::atomic<bool> parameterListChanged_{false};
};

} // namespace Wrapper
