#pragma once
#include "shuttle/FileHandlerContext.h"
#include "io/ConfigFile.h"

#include <atomic>
#include <string>
#include <utility>
#include <vector>

// A context standing in for the product transform. The disk thread reads the
// channel count and the state while the test sets them.
struct FakeContext final : Shuttle::FileHandlerContext {
    std::atomic<uint32_t> channels{2};
    Position position{0, false};
    std::atomic<uint32_t> state{0};
    Util::ConfigFile settings{"SOFTWARE\\Quillex\\TW6Relay"};

    uint32_t channelCount() const override { return channels; }
    Position transportPosition() const override { return position; }
    Util::ConfigFile& configurationStore() override { return settings; }
    uint32_t shuttleState() const override { return state; }
    std::vector<std::pair<std::string, bool>> storedFlags; // by the disk thread: read them after a drain
    void storeFlagLater(const char* key, bool value) override { storedFlags.emplace_back(key, value); }
};

// A block of distinct, recognisable samples: channel c, frame i of block b.
struct TestBlock {
    std::vector<std::vector<float>> samples;
    std::vector<float*> pointers;
    TestBlock(uint32_t channels, uint32_t frames, float base)
        : samples(channels, std::vector<float>(frames))
    {
        for (uint32_t c = 0; c < channels; ++c) {
            for (uint32_t i = 0; i < frames; ++i)
                samples[c][i] = base + float(c) * 0.25f + float(i) / 65536.0f;
            pointers.push_back(samples[c].data());
        }
    }
    float* const* data() { return pointers.data(); }
};

std::vector<std::string> folderEntries(const std::string& folder);
