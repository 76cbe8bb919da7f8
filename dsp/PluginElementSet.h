#pragma once
#include "param/ElementSet.h"
#include "dsp/DSPSet.h"

namespace DSP {

class ElementHost;

// The instance's element set made of the product's DSP set: what the instance
// asks of an element set, answered by "Global" and "Shuttle". The instance is
// the element host; the user-interface side reaches the set itself through
// GetSet() (its timers pump the commands and dispatch the parameters).
class PluginElementSet final : public ::ElementSet {
public:
    PluginElementSet(ElementHost& host, float sampleRate, uint32_t channelFormat);

    DSPSet& GetSet() { return set_; }

    void start() override;
    void stop() override;
    // The DSP set has nothing to connect after its start.
    void connect() override {}
    void runPendingCommands() override;
    uint32_t maxSubBlockSize() const override;
    // Side buses are not taken: no element of this product has side inputs.
    void processSubBlock(uint32_t frames, float* const* channels, uint32_t channelCount, const SideBus* sideBuses,
                         uint32_t sideBusCount) override;
    // The items are 64-bit words, at most DSPSet::kMaxBeforeBlockItems of them.
    void beforeBlock(uint32_t count, const uint8_t* items) override;
    void afterBlock() override;
    // Bypassed, the output is the input.
    void bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels) override;
    uint32_t elementCount() const override;
    uint32_t parameterCount() const override;
    // The largest of the elements' latencies and tails.
    uint32_t latency() const override;
    uint32_t tailFrames() const override;
    void runStateChanged(bool running) override;
    void reconfigure(float sampleRate, uint32_t channelConfiguration) override;
    uint32_t exchangeHostWord(uint32_t word) override;
    bool answersYes(uint32_t subject, uint32_t detail) override;
    void hostValue(float value) override { set_.ReceiveHostValue(value); }
    void notify() override { set_.NotifyHost(); }
    void renderRequest(RenderRequest& request) override;
    void hostContext(uint64_t pointer, uint64_t word, bool flag) override { set_.SetHostContext(pointer, word, flag); }
    // Commands coming back from the audio side, and parameter changes both ways.
    void idle() override;
    void editorClosing() override;
    DSPSetImpl* dspSet() override { return &set_; }
    // None of the product's parameters is for the host to automate: "Shuttle
    // State" is the exchange's own state (the host sees it in the second list).
    std::vector<ParamRegistration> parameterRegistrations() const override { return {}; }

private:
    ElementHost& host_;
    DSPSet set_;
};

} // namespace DSP
