#pragma once
#include "core/ElementSet.h"

// An element set without elements: audio passes through unchanged (processing
// is in place), nothing is registered, every question gets the neutral answer.
class PassThroughElementSet final : public ElementSet {
public:
    static constexpr uint32_t MaxSubBlockSize = 8192;

    void start() override {}
    void stop() override {}
    void connect() override {}
    void runPendingCommands() override {}
    uint32_t maxSubBlockSize() const override { return MaxSubBlockSize; }
    void processSubBlock(uint32_t, float* const*, uint32_t, const SideBus*, uint32_t) override {}
    void beforeBlock(uint32_t, const uint8_t*) override {}
    void afterBlock() override {}
    void bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels) override;
    uint32_t elementCount() const override { return 0; }
    uint32_t parameterCount() const override { return 0; }
    uint32_t latency() const override { return 0; }
    uint32_t tailFrames() const override { return 0; }
    void runStateChanged(bool) override {}
    void reconfigure(float, uint32_t) override {}
    uint32_t answerWord(uint32_t) override { return 0; }
    bool question(uint32_t, uint32_t) override { return true; }
};
