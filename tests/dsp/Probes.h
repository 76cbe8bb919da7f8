#pragma once
#include "dsp/DSPCommand.h"
#include "dsp/ElementHost.h"
#include "dsp/ElementDispatcher.h"

#include <atomic>
#include <vector>

namespace DspTest {

// What happened to the probe commands of one test.
struct CommandJournal {
    std::atomic<int> onProcess{0};
    std::atomic<int> onUI{0};
    std::atomic<int> destroyed{0};
};

// A command that wants `rounds` passes; each pass runs ExecuteOnProcess and then
// ExecuteOnUI once.
class ProbeCommand : public DSP::DSPCommand {
public:
    explicit ProbeCommand(CommandJournal& journal, int rounds = 1) : journal_(journal), rounds_(rounds) {}
    ~ProbeCommand() override { journal_.destroyed.fetch_add(1); }

    bool ExecuteOnProcess() override
    {
        journal_.onProcess.fetch_add(1);
        return true;
    }
    bool ExecuteOnUI() override
    {
        journal_.onUI.fetch_add(1);
        return --rounds_ > 0;
    }

private:
    CommandJournal& journal_;
    int rounds_;
};

// An element (without parameters) whose signal processing multiplies by a gain, with a chosen
// latency, bypass state and crossfade, counting its hooks.
class ProbeElement : public DSP::ElementDispatcher {
public:
    ProbeElement(DSP::ElementHost& host, const char* name, float sampleRate = 48000.0f, uint32_t channelFormat = 1,
                 uint32_t regionCount = 1)
        : ElementDispatcher(host, {0, name}, sampleRate, channelFormat, 0, 0, regionCount)
    {
        RegisterParameters();
        subBlocks.reserve(1024);
    }

    bool IsActive() const override { return active; }
    using ElementImpl::EnableCrossfade;
    using ElementImpl::RunProcessCommands;

    float gain = 1.0f;
    uint32_t latency = 0;
    bool active = true;
    bool processingEnabled = true;
    std::size_t scratchPerSubBlock = 0;
    int resets = 0;
    int activations = 0;
    int deactivations = 0;
    int audioPasses = 0;
    std::vector<uint32_t> subBlocks;

protected:
    void ProcessAudio(uint32_t frames, const DSP::ChannelPointers& channels) override
    {
        subBlocks.push_back(frames);
        if (scratchPerSubBlock)
            GetHost().AllocateScratch(scratchPerSubBlock); // given back by the pool mark
        for (uint32_t ch = 0; ch < GetChannelCount(); ++ch)
            for (uint32_t i = 0; i < frames; ++i)
                channels.outputs[ch][i] = channels.inputs[ch][i] * gain;
    }
    bool IsProcessingEnabled() const override { return processingEnabled; }
    uint32_t ComputeLatency() const override { return latency; }
    void OnReset() override { ++resets; }
    void OnActivate() override { ++activations; }
    void OnDeactivate() override { ++deactivations; }
    void OnCommandsProcessed() override { ++audioPasses; }
    std::size_t GetExtraScratchBytes() const override { return scratchPerSubBlock; }
};

} // namespace DspTest
