#pragma once
#include "platform/Clock.h"

#include <atomic>

namespace Platform {

// A clock that only moves when told to. Installs itself for its lifetime.
class FakeClock final : public Clock {
public:
    explicit FakeClock(uint32_t startMs = 1000);
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    uint32_t tickMs() const override { return now_.load(std::memory_order_acquire); }
    void advance(uint32_t ms) { now_.fetch_add(ms, std::memory_order_acq_rel); }
    void set(uint32_t ms) { now_.store(ms, std::memory_order_release); }

private:
    std::atomic<uint32_t> now_;
};

} // namespace Platform
