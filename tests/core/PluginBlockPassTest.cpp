#include <gtest/gtest.h>

#include "product/PluginFactoryImpl.h"
#include "TestWrapper.h"
#include "core/RecordView.h"
#include "support/FakeClock.h"

#include <array>
#include <memory>
#include <numeric>
#include <vector>

namespace {

struct Block {
    std::vector<std::vector<float>> samples;
    std::vector<float*> channels;
    std::array<uint8_t, 136> transport{};
    CoreRecords::Process record;

    Block(uint32_t channelCount, uint64_t frames, double position, bool playing)
        : samples(channelCount, std::vector<float>(frames, 0.0f))
    {
        for (auto& s : samples)
            channels.push_back(s.data());
        RecordView t(transport.data());
        t.set<double>(24, position);
        t.setU32(32, playing ? 1 : 0);
        record.frameCount = frames;
        record.channels = channels.data();
        record.transport = transport.data();
    }
};

class PluginBlockPass : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto set = std::make_unique<RecordingElementSet>();
        elements = set.get();
        plugin = std::make_unique<Plugin>(wrapper.creation(), PluginFactoryImpl::product(), std::move(set));
    }

    Platform::FakeClock clock{10000};
    TestWrapper wrapper;
    RecordingElementSet* elements = nullptr;
    std::unique_ptr<Plugin> plugin;
};

} // namespace

TEST_F(PluginBlockPass, SubBlocksAddUpToTheBlockAndStartAtTheRightOffsets)
{
    struct Case {
        uint32_t maxSub;
        uint64_t frames;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {8192, 512, {512}},
        {8192, 8192, {8192}},
        {8192, 20000, {8192, 8192, 3616}},
        {100, 250, {100, 100, 50}},
        {1, 3, {1, 1, 1}},
    };
    for (const auto& c : cases) {
        elements->subBlocks.clear();
        elements->maxSub = c.maxSub;
        Block block(2, c.frames, 0.0, true);
        plugin->processBlock(block.record);
        EXPECT_EQ(elements->subBlocks, c.expected) << c.frames << " frames by " << c.maxSub;
        // Each sub-block marked its own first frame: the offsets were advanced correctly.
        uint64_t offset = 0;
        for (uint32_t n : c.expected) {
            EXPECT_EQ(block.samples[1][offset], 1.0f) << "offset " << offset;
            offset += n;
        }
        EXPECT_EQ(std::accumulate(block.samples[0].begin(), block.samples[0].end(), 0.0f), float(c.expected.size()));
    }
}

TEST_F(PluginBlockPass, ZeroFramesDoNothing)
{
    Block block(2, 0, 0.0, true);
    plugin->processBlock(block.record);
    EXPECT_TRUE(elements->subBlocks.empty());
    EXPECT_EQ(elements->pendingRuns, 0);
    EXPECT_FALSE(plugin->blockPass().isProcessing());
}

TEST_F(PluginBlockPass, TransportAdvancesOnlyWhilePlaying)
{
    elements->maxSub = 300;
    Block playing(2, 1000, 48000.0, true);
    plugin->processBlock(playing.record);
    EXPECT_EQ(plugin->blockPass().transportSamplePosition(), 49000.0);

    Block stopped(2, 1000, 48000.0, false);
    plugin->processBlock(stopped.record);
    EXPECT_EQ(plugin->blockPass().transportSamplePosition(), 48000.0);
}

TEST_F(PluginBlockPass, HistoryKeepsTheFirstNineteenBlockSizes)
{
    for (uint64_t frames = 1; frames <= 25; ++frames) {
        Block block(2, frames * 10, 0.0, true);
        plugin->processBlock(block.record);
    }
    const auto history = plugin->blockPass().blockSizeHistory();
    for (size_t i = 0; i < history.size(); ++i)
        EXPECT_EQ(history[i], (i + 1) * 10) << i;
}

TEST_F(PluginBlockPass, ProcessingAndFlowingFollowTheTickOfTheLastBlock)
{
    bool processingDuring = false;
    bool flowingDuring = true;
    elements->onSubBlock = [&] {
        processingDuring = plugin->blockPass().isProcessing();
        flowingDuring = plugin->blockPass().isAudioFlowingBetweenBlocks();
    };
    EXPECT_FALSE(plugin->blockPass().isProcessing());
    Block block(2, 64, 0.0, true);
    plugin->processBlock(block.record);
    EXPECT_TRUE(processingDuring);
    EXPECT_FALSE(flowingDuring);

    const struct {
        uint32_t after;
        bool processing;
        bool flowing;
    } steps[] = {{1000, true, true}, {1499, true, true}, {1, false, false}, {500, false, false}};
    for (const auto& s : steps) {
        clock.advance(s.after);
        EXPECT_EQ(plugin->blockPass().isProcessing(), s.processing) << s.after;
        EXPECT_EQ(plugin->blockPass().isAudioFlowingBetweenBlocks(), s.flowing) << s.after;
    }

    plugin->processBlock(block.record);
    clock.advance(100);
    EXPECT_TRUE(plugin->blockPass().isProcessing());
    plugin->switchRunState(false, false, 0); // both flags 0 forget the last block
    EXPECT_FALSE(plugin->blockPass().isProcessing());
    EXPECT_FALSE(plugin->blockPass().isAudioFlowingBetweenBlocks());
}

TEST_F(PluginBlockPass, StatusRecomputeRequestedInABlockIsReportedAtItsEnd)
{
    elements->onSubBlock = [&] { plugin->requestStatusRecompute(); };
    Block block(2, 64, 0.0, true);
    wrapper.calls.clear();
    plugin->processBlock(block.record);
    const auto reported = std::count_if(wrapper.calls.begin(), wrapper.calls.end(),
                                        [](const TestWrapper::Call& c) { return c.selector == 2 && c.index == 0; });
    EXPECT_EQ(reported, 1);
    elements->onSubBlock = nullptr;
    wrapper.calls.clear();
    plugin->processBlock(block.record);
    EXPECT_TRUE(wrapper.calls.empty());
}

TEST_F(PluginBlockPass, ReconfigurationHappensOnlyForNewFigures)
{
    plugin->setSampleRateAndConfiguration(48000.0f, 1);
    EXPECT_EQ(elements->reconfigurations, 0);
    plugin->setSampleRateAndConfiguration(44100.0f, 1);
    EXPECT_EQ(elements->reconfigurations, 1);
    plugin->setSampleRateAndConfiguration(44100.0f, 8);
    EXPECT_EQ(elements->reconfigurations, 2);
    EXPECT_EQ(plugin->channelCount(), 6u);

    // The new channel count is what the block pass hands on.
    Block block(6, 16, 0.0, true);
    plugin->processBlock(block.record);
    for (const auto& channel : block.samples)
        EXPECT_EQ(channel[0], 1.0f);
}

TEST_F(PluginBlockPass, SideBusesFollowTheSubBlocksAndANullPointerLeavesOnlyTheFirstChannel)
{
    elements->maxSub = 20;
    std::vector<float> a(32, 0.0f), b(32, 0.0f);
    float* whole[2] = {a.data(), b.data()};
    float* withNull[2] = {b.data(), nullptr};
    float* firstNull[2] = {nullptr, a.data()};
    Block block(2, 32, 0.0, true);
    block.record.sideBusCount = 3;
    block.record.sideBuses[0] = {whole, 2};
    block.record.sideBuses[1] = {withNull, 2};
    block.record.sideBuses[2] = {firstNull, 2};
    plugin->processBlock(block.record);
    const std::vector<std::vector<uint32_t>> expected = {{2, 1, 0}, {2, 1, 0}};
    EXPECT_EQ(elements->sideBusCounts, expected);
    const std::vector<float*> firsts = {a.data(), b.data(), a.data() + 20, b.data() + 20};
    EXPECT_EQ(elements->firstSidePointers, firsts);
}

TEST_F(PluginBlockPass, PendingCommandsRunBeforeEachBlockAndAtReset)
{
    Block block(2, 64, 0.0, true);
    plugin->processBlock(block.record);
    plugin->processBlock(block.record);
    EXPECT_EQ(elements->pendingRuns, 2);
    plugin->reset();
    EXPECT_EQ(elements->pendingRuns, 3);
}
