#pragma once
#include <cstdint>

// The instance's element set until the DSP framework's set takes its place:
// audio passes through unchanged (processing is in place), nothing is
// registered, every question gets the neutral answer.
class PassThroughElementSet {
public:
    static constexpr uint32_t MaxSubBlockSize = 8192;

    void start() { started_ = true; }  // [any-thread]
    void stop() { started_ = false; }  // [any-thread]
    void connect() {}
    bool started() const { return started_; }

    void runPendingCommands() {}     // the 0-frame process of every element [audio-thread]
    uint32_t maxSubBlockSize() const { return MaxSubBlockSize; }
    void processSubBlock(uint32_t, float* const*, uint32_t) {} // in place: nothing to do [audio-thread]
    void beforeBlock(uint32_t, const uint8_t*) {}
    void afterBlock() {}
    void bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels);

    uint32_t elementCount() const { return 0; }
    uint32_t parameterCount() const { return 0; }
    uint32_t latency() const { return 0; }
    uint32_t tailFrames() const { return 0; }
    void runStateChanged(bool) {}
    void reconfigure(float, uint32_t) {}
    uint32_t answerWord(uint32_t) const { return 0; }
    bool question(uint32_t, uint32_t) const { return true; }

private:
    bool started_ = false;
};
