#pragma once
#include "wrapper/HostCallbacks.h"

namespace RelayHost {

// The host callbacks of one instance, telling every reverse call and status
// word on standard error when asked to. [any-thread]
class TracingHost final : public Wrapper::HostCallbacks {
public:
    TracingHost(Wrapper::HostDescription host, bool verbose) : HostCallbacks(std::move(host)), verbose_(verbose) {}

    int32_t answer(EntryProtocol::ReverseSelector selector, uint32_t index, void* record) override;

private:
    void statusWordChanged(uint32_t word, uint32_t value) override;

    bool verbose_;
};

} // namespace RelayHost
