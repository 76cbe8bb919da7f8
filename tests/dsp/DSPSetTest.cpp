#include <gtest/gtest.h>

#include "Probes.h"
#include "StressScale.h"
#include "TestHost.h"
#include "param/EnumParam.h"
#include "dsp/DSPSet.h"
#include "dsp/Global.h"
#include "dsp/ShuttleElement.h"
#include "support/FakeClock.h"
#include "support/TestEnvironment.h"

#include <random>
#include <thread>

namespace {

using DspTest::TestHost;
using DSP::ShuttleElement;

constexpr uint32_t kStereo = 1;

uint32_t shuttleState(DSP::DSPSet& set)
{
    return std::get<uint32_t>(*set.GetShuttle()->GetParameterValue(ShuttleElement::kStateIndex));
}

TEST(DSPSet, HoldsGlobalAndShuttleInNameOrder)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    EXPECT_EQ(set.AllKeys(), (std::vector<Util::String>{"Global", "Shuttle"}));
    EXPECT_EQ(set.GetElementCount(), 2u);
    EXPECT_EQ(set.GetElementAt(1), set.GetShuttle().get());
    ASSERT_TRUE(set.GetGlobal());
    EXPECT_EQ(set.GetShuttle()->GetChannelCount(), 2u);
    EXPECT_EQ(set.GetShuttle()->GetRegionCount(), 1u);
    EXPECT_EQ(set.GetParameterCount(), 1u);
    EXPECT_FALSE(set.FindElement("Shuttle "));
}

TEST(DSPSet, TheShuttleStateIsAnEnumerationStartingIdle)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    const DSP::ParamDeclaration* declaration = set.GetShuttle()->GetParameterDeclaration(0);
    ASSERT_NE(declaration, nullptr);
    EXPECT_EQ(declaration->name, "Shuttle State");
    EXPECT_EQ(declaration->kind, DSP::ParamKind::Enum);
    EXPECT_EQ(declaration->valueNames, (std::vector<Util::String>{"Idle", "Capturing", "Captured", "Ready to Write"}));
    EXPECT_EQ(shuttleState(set), 0u);
}

TEST(DSPSet, KeyPathsReachAnElementsControllers)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    const auto value = set.ValueForKeyPath("Shuttle.Shuttle State");
    auto* const* object = std::get_if<Controller::Object*>(&value);
    ASSERT_TRUE(object);
    auto* state = dynamic_cast<Controller::EnumParam*>(*object);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->GetLabels().at(3), "Ready to Write");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(set.ValueForKeyPath("Nothing.Shuttle State")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(set.ValueForKeyPath("Shuttle.Nothing")));
}

TEST(DSPSet, EveryChangeOfTheShuttleStateAsksForAnUpdateOnEitherSide)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    EXPECT_FALSE(host.TakeUpdateRequest());
    set.GetShuttle()->SetParameterValue(0, 2u); // user-interface side, nothing processes
    EXPECT_TRUE(host.TakeUpdateRequest());
    EXPECT_EQ(shuttleState(set), 2u);
    {
        DSP::ElementHost::ProcessingPass pass(host); // the audio side
        set.GetShuttle()->SetParameterValue(0, 1u);
        EXPECT_TRUE(host.TakeUpdateRequest());
        EXPECT_EQ(shuttleState(set), 1u);
    }
    EXPECT_FALSE(host.TakeUpdateRequest());
}

TEST(DSPSet, AFormatChangeKeepsGlobalAndReplacesTheShuttleWhichStartsIdle)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    set.Start();
    set.Start();
    const auto global = set.GetGlobal();
    const auto shuttle = set.GetShuttle();
    shuttle->SetParameterValue(0, 3u);
    std::vector<Util::String> replaced;
    set.elementReplaced.connect([&](const Util::String& name) { replaced.push_back(name); });
    set.SetFormat(48000.0f, 8);
    EXPECT_EQ(set.GetGlobal(), global);
    EXPECT_EQ(global->GetSampleRate(), 48000.0f);
    EXPECT_EQ(global->GetChannelCount(), 6u);
    ASSERT_NE(set.GetShuttle(), shuttle);
    EXPECT_EQ(set.GetShuttle()->GetChannelCount(), 6u);
    EXPECT_EQ(set.GetShuttle()->GetCrossfadeFrames(), 480u);
    EXPECT_EQ(shuttleState(set), 0u);
    EXPECT_EQ(replaced, (std::vector<Util::String>{"Shuttle"}));
    // The new element is started as often as the set.
    auto* fresh = dynamic_cast<DSP::ElementImpl*>(set.GetShuttle().get());
    EXPECT_EQ(fresh->GetActivationCount(), 2u);
    EXPECT_TRUE(fresh->IsFresh());
}

TEST(DSPSet, StartAndStopNestAndTheFirstStartResets)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    auto* shuttle = dynamic_cast<DSP::ElementImpl*>(set.GetShuttle().get());
    EXPECT_FALSE(shuttle->IsFresh());
    set.Start();
    EXPECT_TRUE(shuttle->IsFresh());
    EXPECT_EQ(set.GetStartCount(), 1u);
    set.Stop();
    set.Stop();
    EXPECT_EQ(set.GetStartCount(), 0u);
    EXPECT_EQ(shuttle->GetActivationCount(), 0u);
}

TEST(DSPSet, ABlockPassesThroughUnchangedAndAllocatesNothing)
{
    TestHost host(512);
    DSP::DSPSet set(host, 48000.0f, kStereo);
    set.Start();
    std::vector<float> left(512), right(512);
    for (uint32_t i = 0; i < 512; ++i) {
        left[i] = float(i);
        right[i] = -float(i);
    }
    float* channels[] = {left.data(), right.data()};
    const uint64_t items[] = {1, 2, 3};
    auto blockPass = [&] {
        DSP::ElementHost::ProcessingPass pass(host);
        set.BeforeBlock(items);
        set.RunPendingCommands();
        for (uint32_t done = 0; done < 512; done += 128) {
            float* sub[] = {left.data() + done, right.data() + done};
            set.ProcessSubBlock(sub, 2, 128);
        }
        set.AfterBlock();
    };
    blockPass();
    const auto before = TestSupport::threadAllocationCount();
    for (int i = 0; i < 20; ++i)
        blockPass();
    EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u);
    EXPECT_EQ(left[511], 511.0f);
    EXPECT_EQ(right[3], -3.0f);
    EXPECT_EQ(channels[0], left.data());
    EXPECT_TRUE(set.GetBeforeBlockItems().empty());
}

TEST(DSPSet, SettlingAppliesPendingParameterChangesAtOnce)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    host.SetProcessing(true);
    set.GetShuttle()->SetParameterValue(0, 2u);
    auto* entry = dynamic_cast<DSP::ElementDispatcher&>(*set.GetShuttle()).GetParameterEntry(0);
    EXPECT_EQ(std::get<uint32_t>(entry->GetAudioSideValue()), 0u);
    set.Settle();
    EXPECT_EQ(std::get<uint32_t>(entry->GetAudioSideValue()), 2u);
    set.PumpAll();
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

TEST(DSPSet, BeforeBlockKeepsAtMostSixteenItems)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    std::vector<uint64_t> items(20);
    for (uint64_t i = 0; i < items.size(); ++i)
        items[i] = i * 3;
    set.BeforeBlock(items);
    ASSERT_EQ(set.GetBeforeBlockItems().size(), 16u);
    EXPECT_EQ(set.GetBeforeBlockItems()[15], 45u);
}

TEST(DSPSet, HostForwardsAnswerNeutrally)
{
    TestHost host;
    DSP::DSPSet set(host, 44100.0f, kStereo);
    EXPECT_EQ(set.ExchangeHostWord(77), 77u);
    EXPECT_EQ(set.GetLastHostWord(), 77u);
    set.ReceiveHostValue(0.5f);
    EXPECT_EQ(set.GetLastHostValue(), 0.5f);
    DSP::DSPSet::RenderRequest request{1, 2, 3, 4, 1, 99};
    set.HandleRenderRequest(request);
    EXPECT_EQ(request.flag, 1u);
    EXPECT_EQ(request.answer, 0u);
    EXPECT_TRUE(set.AskHost(1, 2));
    EXPECT_EQ(set.GetHostNotificationCount(), 1u);
    std::vector<std::pair<bool, bool>> runStates;
    set.runStateChanged.connect([&](bool running, bool ui) { runStates.emplace_back(running, ui); });
    set.SetRunState(true, false);
    EXPECT_TRUE(set.IsRunning());
    EXPECT_EQ(runStates, (std::vector<std::pair<bool, bool>>{{true, false}}));
}

TEST(ElementHost, ProcessingHoldsForTwoAndAHalfSecondsAfterAPassBegan)
{
    Platform::FakeClock clock(50000);
    TestHost host;
    EXPECT_FALSE(host.IsProcessing());
    {
        DSP::ElementHost::ProcessingPass pass(host);
        EXPECT_TRUE(host.IsProcessing());
        EXPECT_TRUE(host.IsProcessingThread());
        EXPECT_TRUE(host.MayTouchAudioState());
        bool otherThread = true, otherMay = true;
        std::thread([&] {
            otherThread = host.IsProcessingThread();
            otherMay = host.MayTouchAudioState();
        }).join();
        EXPECT_FALSE(otherThread);
        EXPECT_FALSE(otherMay);
    }
    EXPECT_FALSE(host.IsProcessingThread());
    clock.advance(2499);
    EXPECT_TRUE(host.IsProcessing());
    clock.advance(1);
    EXPECT_FALSE(host.IsProcessing());
    clock.advance(-2500u + 1000);
    host.ForgetProcessingTime();
    EXPECT_FALSE(host.IsProcessing());
    EXPECT_TRUE(host.MayTouchAudioState());
}

// Posting threads, an audio thread that processes (and sometimes pauses) and a
// user-interface thread that pumps: every command runs its audio half exactly
// once and is deleted exactly once. A command that found the UI FIFO full waits,
// undeleted, in the host's list until its element goes.
TEST(ElementStress, CommandsFromManyThreadsRunOnceOnEachSideAndAreDeletedOnce)
{
    TestHost host;
    auto element = std::make_unique<DspTest::ProbeElement>(host, "stress");
    DspTest::CommandJournal journal;
    constexpr int kPosters = 3;
    const int total = kPosters * 1500 * DspTest::kStressScale;
    std::atomic<bool> postersDone{false}, done{false};
    std::thread audio([&] {
        std::mt19937 random(3);
        while (!done.load()) {
            host.SetProcessing(random() % 4 != 0);
            element->ProcessRegion(0, 0, {});
            std::this_thread::yield();
        }
        host.SetProcessing(false);
    });
    std::thread ui([&] {
        while (!postersDone.load() || journal.onProcess.load() < total || !element->GetUiFifo().IsEmpty()) {
            element->PumpCommands();
            std::this_thread::yield();
        }
        done = true;
    });
    std::vector<std::thread> posters;
    for (int p = 0; p < kPosters; ++p)
        posters.emplace_back([&] {
            for (int i = 0; i < total / kPosters; ++i)
                element->Post(new DspTest::ProbeCommand(journal));
        });
    for (auto& poster : posters)
        poster.join();
    postersDone = true;
    ui.join();
    audio.join();
    const auto dropped = int(host.GetCommandsInFlight());
    EXPECT_EQ(journal.onProcess.load(), total);
    EXPECT_EQ(journal.onUI.load(), total - dropped);
    EXPECT_EQ(journal.destroyed.load(), total - dropped);
    element.reset();
    EXPECT_EQ(journal.destroyed.load(), total);
    EXPECT_EQ(host.GetCommandsInFlight(), 0u);
}

} // namespace
