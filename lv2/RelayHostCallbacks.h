#pragma once
#include <atomic>
#include <cstdint>

#include "wrapper/HostCallbacks.h"

namespace Lv2 {

// The core's reverse calls as an LV2 host answers them: the host application
// is the process (LV2 names no host), the format is ours for LV2, and status
// word 0, the latency in frames, is kept for the latency port. [any-thread]
class RelayHostCallbacks final : public Wrapper::HostCallbacks {
public:
    RelayHostCallbacks();

    uint32_t latency() const { return latency_.load(std::memory_order_relaxed); }
    void setLatency(uint32_t frames) { latency_.store(frames, std::memory_order_relaxed); }

    // The host process's name, as /proc/self/comm gives it ("lv2file", "jalv").
    static Wrapper::HostDescription describeProcess();

private:
    void statusWordChanged(uint32_t word, uint32_t value) override;

    std::atomic<uint32_t> latency_{0};
};

} // namespace Lv2
