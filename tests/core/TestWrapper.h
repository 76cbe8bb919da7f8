#pragma once
#include "core/EntryDispatcher.h"
#include "core/Plugin.h"
#include "core/PluginFactory.h"

#include <functional>
#include <thread>
#include <vector>

// Whether a thread other than the caller can enter the section right now.
inline bool anotherThreadCanEnter(Platform::CriticalSection& section)
{
    bool entered = false;
    std::thread([&] {
        entered = section.tryEnter();
        if (entered)
            section.leave();
    }).join();
    return entered;
}

// A wrapper stand-in for unit tests: answers the reverse calls, records them,
// and lets a test run code inside a chosen reverse call.
struct TestWrapper {
    struct Call {
        uint32_t selector;
        uint32_t index;
        uint32_t firstWord;
    };
    std::vector<Call> calls;
    // Reverse 1, the editor's parameter gestures.
    struct Gesture {
        uint32_t kind;
        uint32_t parameterIndex;
        float value;
        bool operator==(const Gesture&) const = default;
    };
    std::vector<Gesture> gestures;
    std::string hostText = "Test Host";
    float hostVersion = 0.0f;
    std::function<void(uint32_t selector)> during;

    static int32_t callback(int32_t, uint32_t selector, uint32_t index, void* handle, void* record);

    CoreRecords::Creation creation(float sampleRate = 48000.0f, uint32_t configuration = 1);
};

// An element set that records what the instance asks of it.
struct RecordingElementSet final : ElementSet {
    std::vector<uint32_t> subBlocks;
    std::function<void()> onSubBlock;
    uint32_t maxSub = 8192;
    int pendingRuns = 0;
    int reconfigurations = 0;

    void start() override {}
    void stop() override {}
    void connect() override {}
    void runPendingCommands() override { ++pendingRuns; }
    uint32_t maxSubBlockSize() const override { return maxSub; }
    std::vector<std::vector<uint32_t>> sideBusCounts; // per sub-block
    std::vector<float*> firstSidePointers;

    void processSubBlock(uint32_t frames, float* const* channels, uint32_t count, const SideBus* buses,
                         uint32_t busCount) override
    {
        subBlocks.push_back(frames);
        sideBusCounts.emplace_back();
        for (uint32_t b = 0; b < busCount; ++b) {
            sideBusCounts.back().push_back(buses[b].channelCount);
            if (buses[b].channelCount > 0)
                firstSidePointers.push_back(buses[b].channels[0]);
        }
        for (uint32_t c = 0; c < count; ++c)
            channels[c][0] += 1.0f; // marks the first sample of every sub-block
        if (onSubBlock)
            onSubBlock();
    }
    void beforeBlock(uint32_t, const uint8_t*) override {}
    void afterBlock() override {}
    void bypass(uint64_t, float* const*, float* const*, uint32_t) override {}
    uint32_t elementCount() const override { return 0; }
    uint32_t parameterCount() const override { return 0; }
    uint32_t latency() const override { return 0; }
    uint32_t tailFrames() const override { return 0; }
    void runStateChanged(bool) override {}
    void reconfigure(float, uint32_t) override { ++reconfigurations; }
    uint32_t exchangeHostWord(uint32_t) override { return 0; }
    bool answersYes(uint32_t, uint32_t) override { return true; }
};
