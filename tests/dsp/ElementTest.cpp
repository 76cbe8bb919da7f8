#include <gtest/gtest.h>

#include "Probes.h"
#include "TestHost.h"
#include "dsp/ChannelFormat.h"
#include "dsp/RegionRecord.h"
#include "support/TestEnvironment.h"

#include <array>
#include <cmath>
#include <thread>
#include <vector>

namespace {

using DspTest::CommandJournal;
using DspTest::ProbeCommand;
using DspTest::ProbeElement;
using DspTest::TestHost;

TEST(ChannelFormat, TableGivesNamesAndCounts)
{
    struct Case { uint32_t id; const char* name; uint32_t channels; };
    const Case cases[] = {
        {0, "Mono", 1},      {1, "Stereo", 2},    {2, "Mid-Side", 2},  {3, "LRC", 3},      {4, "LRS", 3},
        {5, "LCRS", 4},      {6, "Quad", 4},      {7, "5.0", 5},       {8, "5.1", 6},      {9, "7.0", 7},
        {10, "7.0 SDDS", 7}, {11, "7.1", 8},      {12, "7.1 SDDS", 8}, {13, "3->3", 3},    {20, "10->10", 10},
        {34, "24->24", 24},  {35, "?", 0},        {36, "LCR", 3},      {37, "5.1", 6},     {38, "5.1 DTS", 6},
        {39, "5.1 FILM", 6}, {40, "7.1 DTS", 8},  {41, "?", 0},        {0xFFFFFFFF, "?", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DSP::ChannelFormat::GetName(c.id), c.name) << c.id;
        EXPECT_EQ(DSP::ChannelFormat::GetChannelCount(c.id), c.channels) << c.id;
    }
    EXPECT_EQ(DSP::ChannelFormat::GetKnownIds().size(), 40u); // 0 to 40 but 35
}

TEST(Element, CrossfadeLastsTenMillisecondsRoundedToFrames)
{
    TestHost host;
    for (const auto& [rate, frames] : std::vector<std::pair<float, uint32_t>>{{44100, 441}, {48000, 480}, {22050, 221}, {96000, 960}}) {
        ProbeElement element(host, "e", rate);
        EXPECT_EQ(element.GetCrossfadeFrames(), frames) << rate;
    }
}

TEST(Element, ScratchNeedsCoverTheDrySignalOnlyWithCrossfade)
{
    TestHost host(8192);
    ProbeElement element(host, "e", 48000, 1);
    EXPECT_EQ(element.GetScratchBytes(), 0u);
    element.EnableCrossfade(true);
    EXPECT_EQ(element.GetScratchBytes(), (8192u + 2) * 2 * sizeof(float));
    ProbeElement parent(host, "p", 48000, 0);
    parent.AddChild(&element);
    parent.scratchPerSubBlock = 100;
    EXPECT_EQ(parent.GetScratchBytes(), element.GetScratchBytes() + 100);
}

// ----- commands ---------------------------------------------------------------

struct ElementCommands : ::testing::Test {
    TestHost host;
    ProbeElement element{host, "e"};
    CommandJournal journal;

    void ExpectRuns(int onProcess, int onUI, int destroyed) const
    {
        EXPECT_EQ(journal.onProcess.load(), onProcess);
        EXPECT_EQ(journal.onUI.load(), onUI);
        EXPECT_EQ(journal.destroyed.load(), destroyed);
    }
};

TEST_F(ElementCommands, PostedWhileIdleRunsBothHalvesAndIsDeletedBeforePostReturns)
{
    element.Post(new ProbeCommand(journal));
    ExpectRuns(1, 1, 1);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST_F(ElementCommands, PostedWhileProcessingRunsAtTheNextBlockAndReturnsAtTheNextPump)
{
    host.SetProcessing(true);
    element.Post(new ProbeCommand(journal));
    EXPECT_EQ(journal.onProcess.load(), 0);
    EXPECT_EQ(host.GetCommandsInFlight(&element), 1u);
    element.PumpCommands(); // nothing came back yet, and the audio side is busy
    EXPECT_EQ(journal.onProcess.load(), 0);
    element.ProcessRegion(0, 0, {});
    EXPECT_EQ(journal.onProcess.load(), 1);
    EXPECT_EQ(journal.onUI.load(), 0);
    element.PumpCommands();
    EXPECT_EQ(journal.onUI.load(), 1);
    EXPECT_EQ(journal.destroyed.load(), 1);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST_F(ElementCommands, PostedWhileAnotherThreadHoldsTheLockWaitsInTheFifo)
{
    std::atomic<bool> held{false}, release{false};
    std::thread audio([&] {
        Platform::ScopedLock lock(host.GetProcessingLock());
        held = true;
        while (!release)
            std::this_thread::yield();
    });
    while (!held)
        std::this_thread::yield();
    element.Post(new ProbeCommand(journal));
    EXPECT_EQ(journal.onProcess.load(), 0);
    release = true;
    audio.join();
    element.PumpCommands(); // nothing processes now: the pump runs both halves itself
    ExpectRuns(1, 1, 1);
}

TEST_F(ElementCommands, ACommandMakesAsManyRoundTripsAsItAsks)
{
    host.SetProcessing(true);
    element.Post(new ProbeCommand(journal, 3));
    for (int round = 1; round <= 3; ++round) {
        element.ProcessRegion(0, 0, {});
        element.PumpCommands();
        EXPECT_EQ(journal.onProcess.load(), round);
        EXPECT_EQ(journal.onUI.load(), round);
    }
    EXPECT_EQ(journal.destroyed.load(), 1);
}

TEST_F(ElementCommands, ACancelledCommandIsDroppedWithoutItsUserInterfaceHalf)
{
    host.SetProcessing(true);
    auto* command = new ProbeCommand(journal, 5);
    element.Post(command);
    element.ProcessRegion(0, 0, {});
    command->Cancel();
    element.PumpCommands();
    EXPECT_EQ(journal.onUI.load(), 0);
    EXPECT_EQ(journal.destroyed.load(), 1);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST_F(ElementCommands, ChildrenRunTheirCommandsFirst)
{
    TestHost host;
    ProbeElement parent(host, "parent");
    ProbeElement child(host, "child");
    parent.AddChild(&child);
    host.SetProcessing(true);
    CommandJournal parentJournal, childJournal;
    parent.Post(new ProbeCommand(parentJournal));
    child.Post(new ProbeCommand(childJournal));
    parent.ProcessRegion(0, 0, {});
    EXPECT_EQ(childJournal.onProcess.load(), 1);
    EXPECT_EQ(child.audioPasses, 1);
    parent.PumpCommands();
    EXPECT_EQ(childJournal.destroyed.load(), 1);
    EXPECT_EQ(parentJournal.destroyed.load(), 1);
}

TEST_F(ElementCommands, AFullUiFifoKeepsTheCommandUndeletedUntilTheElementGoes)
{
    TestHost host;
    {
        ProbeElement element(host, "scoped");
        host.SetProcessing(true);
        for (int i = 0; i < 512; ++i)
            element.Post(new ProbeCommand(journal));
        element.ProcessRegion(0, 0, {}); // the UI FIFO takes 511; the last is dropped
        EXPECT_EQ(journal.onProcess.load(), 512);
        element.PumpCommands();
        EXPECT_EQ(journal.destroyed.load(), 511);
        EXPECT_EQ(host.GetCommandsInFlight(&element), 1u); // kept in the host's list, alive
        element.ProcessRegion(0, 0, {});
        element.PumpCommands();
        EXPECT_EQ(journal.onProcess.load(), 512);
        EXPECT_EQ(journal.destroyed.load(), 511);
    }
    EXPECT_EQ(journal.destroyed.load(), 512);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST_F(ElementCommands, TheProcessFifoGrowsAndKeepsEveryCommand)
{
    host.SetProcessing(true);
    for (int i = 0; i < 1500; ++i)
        element.Post(new ProbeCommand(journal));
    EXPECT_GE(element.GetProcessFifo().GetCapacity(), 2048u);
    EXPECT_EQ(host.GetCommandsInFlight(), 1500u);
    host.SetProcessing(false);
    element.PumpCommands(); // runs both halves of every queued command here
    ExpectRuns(1500, 1500, 1500);
}

TEST_F(ElementCommands, DestroyingAnElementDeletesItsQueuedCommandsUnrun)
{
    TestHost host;
    {
        ProbeElement element(host, "scoped");
        host.SetProcessing(true);
        element.Post(new ProbeCommand(journal));
        element.Post(new ProbeCommand(journal));
        element.ProcessRegion(0, 0, {}); // both now wait in the UI FIFO
        element.Post(new ProbeCommand(journal));
    }
    EXPECT_EQ(journal.destroyed.load(), 3);
    EXPECT_EQ(journal.onUI.load(), 0);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

// ----- activation and reset -----------------------------------------------------

TEST(ElementActivation, NestsAndReachesTheHooksAndChildrenOnlyAtTheOutermostPair)
{
    TestHost host;
    ProbeElement parent(host, "p");
    ProbeElement child(host, "c");
    parent.AddChild(&child);
    parent.Activate();
    parent.Activate();
    EXPECT_EQ(parent.activations, 1);
    EXPECT_EQ(child.activations, 1);
    EXPECT_EQ(parent.GetActivationCount(), 2u);
    parent.Deactivate();
    EXPECT_EQ(parent.deactivations, 0);
    parent.Deactivate();
    EXPECT_EQ(parent.deactivations, 1);
    EXPECT_EQ(child.deactivations, 1);
    EXPECT_EQ(parent.GetActivationCount(), 0u);
}

TEST(ElementActivation, DeactivateWithoutActivateCallsTheHookOnceAndStaysAtZero)
{
    TestHost host;
    ProbeElement element(host, "e");
    element.Deactivate();
    EXPECT_EQ(element.deactivations, 1);
    EXPECT_EQ(element.GetActivationCount(), 0u);
}

TEST(ElementReset, TheResetHookRunsOnlyWhenABlockWasProcessedSinceTheLastReset)
{
    TestHost host;
    ProbeElement element(host, "e");
    element.Reset();
    EXPECT_EQ(element.resets, 1);
    EXPECT_TRUE(element.IsFresh());
    element.Reset();
    EXPECT_EQ(element.resets, 1);
    std::vector<float> left(16, 1.0f), right(16, 1.0f);
    float* channels[] = {left.data(), right.data()};
    element.Process(16, {channels, 2, 16});
    EXPECT_FALSE(element.IsFresh());
    element.Reset();
    EXPECT_EQ(element.resets, 2);
}

// ----- processing ---------------------------------------------------------------

struct Block {
    Block(uint32_t channels, uint32_t frames) : data(channels, std::vector<float>(frames)), pointers(channels)
    {
        for (uint32_t ch = 0; ch < channels; ++ch) {
            for (uint32_t i = 0; i < frames; ++i)
                data[ch][i] = float(ch * 1000 + i + 1);
            pointers[ch] = data[ch].data();
        }
    }
    DSP::MultichannelBufferView<float> View() { return {pointers.data(), uint32_t(pointers.size()), uint32_t(data[0].size())}; }
    std::vector<std::vector<float>> data;
    std::vector<float*> pointers;
};

TEST(ElementProcessing, ALongBlockIsCutIntoSubBlocksAndEveryButTheLastIsReported)
{
    TestHost host(64);
    ProbeElement element(host, "e");
    element.gain = 2.0f;
    Block block(2, 150);
    element.ProcessRegion(0, 150, block.View());
    EXPECT_EQ(element.subBlocks, (std::vector<uint32_t>{64, 64, 22}));
    EXPECT_EQ(host.positions, (std::vector<uint32_t>{64, 128}));
    for (uint32_t ch = 0; ch < 2; ++ch)
        for (uint32_t i = 0; i < 150; ++i)
            ASSERT_EQ(block.data[ch][i], 2.0f * float(ch * 1000 + i + 1)) << ch << "/" << i;
    EXPECT_EQ(element.GetRegion(0)->GetFramesProcessed(), 150u);
}

TEST(ElementProcessing, ABlockWithinTheLimitIsNotReported)
{
    TestHost host(64);
    ProbeElement element(host, "e");
    Block block(2, 64);
    element.ProcessRegion(0, 64, block.View());
    EXPECT_TRUE(host.positions.empty());
}

TEST(ElementProcessing, ARegionBeyondTheCountDoesNothing)
{
    TestHost host;
    ProbeElement element(host, "e");
    host.SetProcessing(true);
    CommandJournal journal;
    element.Post(new ProbeCommand(journal));
    Block block(2, 32);
    element.ProcessRegion(1, 32, block.View());
    EXPECT_TRUE(element.subBlocks.empty());
    EXPECT_EQ(journal.onProcess.load(), 0);
}

TEST(ElementProcessing, DisabledProcessingRunsCommandsButLeavesTheAudio)
{
    TestHost host;
    ProbeElement element(host, "e");
    element.processingEnabled = false;
    element.gain = 0.0f;
    host.SetProcessing(true);
    CommandJournal journal;
    element.Post(new ProbeCommand(journal));
    Block block(2, 32);
    element.ProcessRegion(0, 32, block.View());
    EXPECT_EQ(journal.onProcess.load(), 1);
    EXPECT_TRUE(element.subBlocks.empty());
    EXPECT_EQ(block.data[1][31], 1032.0f);
}

TEST(ElementProcessing, MissingHostChannelsReadSilenceAndTheGivenOnesAreProcessed)
{
    TestHost host(64);
    ProbeElement element(host, "e", 48000, 8); // 7.1: 8 channels
    element.gain = 3.0f;
    Block block(2, 100);
    element.ProcessRegion(0, 100, block.View());
    EXPECT_EQ(element.subBlocks, (std::vector<uint32_t>{64, 36}));
    EXPECT_EQ(block.data[1][99], 3.0f * 1100.0f);
}

TEST(ElementProcessing, ScratchTakenDuringASubBlockGoesBackToThePool)
{
    TestHost host(64);
    ProbeElement element(host, "e");
    element.scratchPerSubBlock = 4096;
    element.EnableCrossfade(true);
    host.ReserveScratch(element.GetScratchBytes() + 1024);
    Block block(2, 200);
    element.ProcessRegion(0, 200, block.View());
    EXPECT_EQ(host.GetPoolAllocator().GetUsed(), 0u);
    EXPECT_EQ(element.subBlocks.size(), 4u);
}

TEST(ElementProcessing, ProcessingABlockAllocatesNothing)
{
    TestHost host(256);
    ProbeElement element(host, "e");
    element.EnableCrossfade(true);
    element.latency = 32;
    element.Activate();
    host.ReserveScratch(element.GetScratchBytes() + 1024);
    element.Reset();
    Block block(2, 600);
    element.ProcessRegion(0, 600, block.View()); // the first block, as the host's first
    const auto before = TestSupport::threadAllocationCount();
    for (int i = 0; i < 10; ++i) {
        element.active = i % 2 == 0;
        element.ProcessRegion(0, 600, block.View());
        element.ProcessRegion(0, 0, {});
    }
    EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u);
}

// The bypass crossfade: a muting element bypassed fades over the crossfade
// length to its input delayed by the latency, and back.
TEST(ElementProcessing, BypassFadesToTheLatencyAlignedInputAndBack)
{
    TestHost host;
    ProbeElement element(host, "e", 48000, 0); // mono
    element.gain = 0.0f;
    element.latency = 10;
    element.EnableCrossfade(true);
    element.Activate();
    host.ReserveScratch(element.GetScratchBytes() + 1024);
    element.Reset();
    const uint32_t fade = element.GetCrossfadeFrames(); // 480
    const uint32_t frames = 1000;
    std::vector<float> input(frames);
    for (uint32_t i = 0; i < frames; ++i)
        input[i] = 1.0f + float(i % 7);
    auto run = [&](std::vector<float>& out) {
        out = input;
        float* channel = out.data();
        element.ProcessRegion(0, frames, {&channel, 1, frames});
    };
    std::vector<float> out;
    run(out);
    for (float sample : out)
        ASSERT_EQ(sample, 0.0f); // processed: muted

    element.active = false;
    run(out);
    // The dry signal is the input delayed by 10 frames, across blocks.
    auto dry = [&](uint32_t i) { return i >= 10 ? input[i - 10] : input[frames - 10 + i]; };
    float previousGain = 0.0f;
    for (uint32_t i = 1; i < fade; ++i) {
        const float dryGain = out[i] / dry(i);
        ASSERT_GE(dryGain, previousGain - 1e-6f) << i;
        ASSERT_LE(dryGain, 1.0f) << i;
        previousGain = dryGain;
    }
    for (uint32_t i = fade; i < frames; ++i)
        ASSERT_EQ(out[i], dry(i)) << i;

    element.active = true;
    run(out);
    EXPECT_GT(out[1], 0.0f);
    for (uint32_t i = fade; i < frames; ++i)
        ASSERT_EQ(out[i], 0.0f) << i;
}

TEST(ElementProcessing, ResetSettlesTheCrossfadeAtOnce)
{
    TestHost host;
    ProbeElement element(host, "e", 48000, 0);
    element.gain = 0.0f;
    element.EnableCrossfade(true);
    host.ReserveScratch(element.GetScratchBytes() + 1024);
    element.active = false;
    element.Reset();
    std::vector<float> samples(64, 0.5f);
    float* channel = samples.data();
    element.ProcessRegion(0, 64, {&channel, 1, 64});
    for (float sample : samples)
        ASSERT_EQ(sample, 0.5f); // bypassed from the first frame
}

} // namespace
