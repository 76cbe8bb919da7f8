#pragma once
#include "dsp/ElementHost.h"
#include "platform/CriticalSection.h"

#include <atomic>
#include <vector>

namespace DspTest {

// An element host for tests: its own processing lock, a settable block size,
// a settable "processing" answer and the positions it was told about.
class TestHost final : public DSP::ElementHost {
public:
    explicit TestHost(uint32_t maxBlockSize = kDefaultMaxBlockSize) : maxBlockSize_(maxBlockSize)
    {
        positions.reserve(1024); // reports come from the audio thread: no allocation there
    }

    Platform::CriticalSection& GetProcessingLock() override { return lock_; }
    uint32_t GetMaxBlockSize() const override { return maxBlockSize_; }
    bool IsProcessing() const override { return forceProcessing_.load() || ElementHost::IsProcessing(); }
    void ReportPosition(uint32_t framesSoFar) override
    {
        positions.push_back(framesSoFar);
        ElementHost::ReportPosition(framesSoFar);
    }

    // Makes the processing test answer true without a block pass.
    void SetProcessing(bool processing) { forceProcessing_.store(processing); }

    std::vector<uint32_t> positions;

private:
    Platform::CriticalSection lock_{"Test Processing CritSec"};
    uint32_t maxBlockSize_;
    std::atomic<bool> forceProcessing_{false};
};

} // namespace DspTest
