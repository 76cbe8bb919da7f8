#include <gtest/gtest.h>

#include "ShuttleInstance.h"
#include "ShuttleTestSupport.h"
#include "core/HostVersion.h"
#include "core/Plugin.h"
#include "product/PluginFactoryImpl.h"
#include "core/RecordView.h"
#include "support/FakeClock.h"
#include "platform/MessageBox.h"
#include "platform/ProcessInfo.h"
#include "platform/Shell.h"
#include "shuttle/DiscardCommand.h"
#include "shuttle/LoadRepairedFileCommand.h"
#include "shuttle/Transform.h"
#include "ipc/StandinProcess.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <chrono>

#include <array>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;
using TestSupport::SoundFile;

namespace {

class TransformTest : public ::testing::Test {
protected:
    void start(const char* hostProcess, uint32_t format = 2)
    {
        Platform::overrideHostProcessFileName(hostProcess);
        session = TestSupport::makeTempFolder("session");
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").RemoveValue("ShuttleOpenFilesAtStartUp");
        Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").RemoveValue("ShuttleOpenRefFilesAtStartUp");
        plugin = createInstance(factory, format);
        transform = dynamic_cast<DSP::Transform*>(&plugin->elementSet());
        ASSERT_NE(transform, nullptr);
        Platform::installShell(&shell);
    }
    void TearDown() override
    {
        plugin.reset();
        Platform::installShell(nullptr);
        Platform::overrideHostProcessFileName("");
    }

    // One block through the instance, as selector 22 hands it on.
    TestBlock block(bool analysisPass, float base = 0.5f)
    {
        TestBlock b(2, 256, base);
        CoreRecords::Process record;
        record.frameCount = 256;
        record.channels = b.pointers.data();
        record.transport = transportBytes.data();
        record.analysisPass = analysisPass;
        plugin->processBlock(record);
        return b;
    }
    // Drains the shuttle command pipe as the window's timer does.
    void pipeTick()
    {
        transform->commandPipe().ProcessHigh();
        transform->commandPipe().ProcessLow();
    }
    std::string folder() const { return session + "/Relay"; }

    Platform::FakeClock clock{10000};
    TestFactory factory;
    RecordingShell shell;
    std::array<uint8_t, 136> transportBytes{};
    std::unique_ptr<Plugin> plugin;
    DSP::Transform* transform = nullptr;
    std::string session;
};

} // namespace

TEST_F(TransformTest, AnUnsupportedHostLeavesEveryBlockAndTheStateAlone)
{
    start("Logic Pro X"); // 17: not supported
    for (bool analysisPass : {false, true}) {
        const TestBlock expected(2, 256, 0.5f);
        EXPECT_EQ(block(analysisPass).samples, expected.samples);
    }
    EXPECT_EQ(transform->state(), 0u);
    EXPECT_FALSE(fs::exists(folder()));
}

TEST_F(TransformTest, TheStateTableOfTheBlockOperation)
{
    start("WaveLab"); // 11: every close ends the pass
    struct Step {
        uint32_t state;
        bool analysisPass;
        uint32_t after;
        bool untouched;
    };
    const Step steps[] = {
        {0, false, 1, true},  // captures, the audio passes
        {1, true, 1, true},
        {2, false, 2, true},  // the captured clip waits for the editor
        {2, true, 1, true},   // a new pass
        {3, true, 1, true},   // captured again: a new pass starts
    };
    for (const auto& s : steps) {
        transform->setState(DSP::Transform::State(s.state));
        const TestBlock expected(2, 256, 0.5f);
        const auto out = block(s.analysisPass);
        EXPECT_EQ(transform->state(), s.after) << "from " << s.state << " in an analysis pass " << s.analysisPass;
        EXPECT_EQ(out.samples == expected.samples, s.untouched);
    }
}

TEST_F(TransformTest, ARepairPassEndsInCapturedWithTheKeyTheLaunchAndTheRequest)
{
    start("WaveLab");
    block(false);
    plugin->switchRunState(false, false, 0); // the host's run stops: the capture closes
    transform->drain();
    EXPECT_EQ(transform->state(), 2u);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_TRUE(shell.keyWasSet) << "the start-up key must be written before the launch";
    EXPECT_TRUE(plugin->settings().GetBool("ShuttleOpenFilesAtStartUp", false));
    EXPECT_EQ(fs::directory_iterator(folder())->path().filename().string(), "Wavelab 1 [tw-relay] 1 captured.wav");
}

TEST_F(TransformTest, AReferencePassEndsIdleWithoutLaunchingTheEditor)
{
    start("WaveLab");
    transform->fileHandler().setReferenceMode(true);
    block(false);
    plugin->notifyElementSet(); // processing stopped
    transform->drain();
    EXPECT_EQ(transform->state(), 0u);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(plugin->settings().GetBool("ShuttleOpenRefFilesAtStartUp", false));
    EXPECT_FALSE(transform->fileHandler().referenceMode());
}

TEST_F(TransformTest, RestartingWithinHalfASecondInReferenceModeSuppressesCapture)
{
    for (uint32_t gap : {499u, 500u}) {
        start("WaveLab");
        transform->fileHandler().setReferenceMode(true);
        plugin->switchRunState(false, false, 0);
        clock.advance(gap);
        plugin->switchRunState(true, true, 0);
        EXPECT_EQ(transform->captureSuppressed(), gap < 500) << gap;
        block(true);
        EXPECT_EQ(transform->state(), gap < 500 ? 0u : 1u) << gap;
        plugin.reset();
    }
}

TEST_F(TransformTest, OfflineFormatsPostTheRenderOrDiscardNoticeOncePerPass)
{
    for (uint32_t format : {4u, 7u}) {
        start("WaveLab", format);
        RecordingWindow window;
        transform->attachMainWindow(&window);
        transform->setState(DSP::Transform::State::ReadyToWrite);
        for (int i = 0; i < 5; ++i) {
            const TestBlock expected(2, 256, 0.5f);
            EXPECT_EQ(block(true).samples, expected.samples);
        }
        plugin->idle(); // the block only raised the notice; the idle service posts it
        pipeTick();
        EXPECT_EQ(window.calls, std::vector<std::string>{std::string("info: ") + DSP::Transform::RenderOrDiscardNotice});
        EXPECT_EQ(transform->state(), 3u);
        transform->attachMainWindow(nullptr);
        plugin.reset();
    }
}

TEST_F(TransformTest, EditorMessagesReachTheWindowOnlyWhileOneIsOpen)
{
    TestSupport::StandinProcess editor;
    factory.endpoints = editor.endpoints();
    start("WaveLab");
    RecordingWindow window;
    // The editor's next message, run through the idle service (which polls the
    // link) until the plug-in has answered it: its handler has run by then.
    // The pipe tick after it hands what the handler posted to the window.
    auto deliver = [&](const std::string& command) {
        editor.command(command);
        bool answered = false;
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
             !answered && std::chrono::steady_clock::now() < end;) {
            plugin->idle();
            answered = !editor.expect("RECV editor-reply", std::chrono::milliseconds(5)).empty();
        }
        pipeTick();
        return answered;
    };
    ASSERT_TRUE(deliver("repaired")); // 4 without a window: nothing to do
    EXPECT_TRUE(window.calls.empty());
    transform->attachMainWindow(&window);
    ASSERT_TRUE(deliver("repaired"));
    ASSERT_TRUE(deliver("discard"));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"load", "discard"}));

    // The clip count: 17 is ignored, 16 leaves no room for a clip.
    ASSERT_TRUE(deliver("count 17"));
    block(false);
    transform->drain();
    EXPECT_FALSE(transform->fileHandler().limitHit());
    plugin->notifyElementSet();
    transform->drain();
    transform->setState(DSP::Transform::State::Idle);
    ASSERT_TRUE(deliver("count 16"));
    block(false);
    transform->drain();
    EXPECT_TRUE(transform->fileHandler().limitHit());
    EXPECT_TRUE(transform->editorLink());

    ASSERT_TRUE(deliver("clear")); // the editor's 0 clears the link flag
    EXPECT_FALSE(transform->editorLink());
    transform->attachMainWindow(nullptr);
}

TEST_F(TransformTest, DiscardAndLoadCommandsChangeTheStateOnTheHighSide)
{
    start("WaveLab");
    auto& pipe = transform->commandPipe();
    transform->setState(DSP::Transform::State::Capturing);
    pipe.PostToHigh(new Shuttle::DiscardCommand(*transform));
    pipeTick();
    EXPECT_EQ(transform->state(), 1u); // discard while capturing changes nothing
    transform->setState(DSP::Transform::State::Captured);
    pipe.PostToHigh(new Shuttle::DiscardCommand(*transform));
    pipeTick();
    EXPECT_EQ(transform->state(), 0u);

    fs::create_directories(folder());
    ASSERT_TRUE(SoundFile::writePlanar(folder() + "/Wavelab 1 [tw-relay] 1 repaired.wav",
                                       {std::vector<float>(512, 0.1f), std::vector<float>(512, 0.1f)}));
    ASSERT_TRUE(SoundFile::writePlanar(folder() + "/Wavelab 2 [tw-relay] 2 repaired.wav",
                                       {std::vector<float>(512, 0.2f), std::vector<float>(512, 0.2f)}));
    pipe.PostToHigh(new Shuttle::LoadRepairedFileCommand(*transform, {folder() + "/Wavelab 1 [tw-relay] 1 repaired.wav"}));
    pipe.PostToHigh(new Shuttle::LoadRepairedFileCommand(*transform, {folder() + "/Wavelab 2 [tw-relay] 2 repaired.wav"}));
    pipeTick();
    EXPECT_EQ(transform->state(), 3u);
    EXPECT_EQ(transform->fileHandler().repairedList(), std::vector<Util::String>{folder() + "/Wavelab 2 [tw-relay] 2 repaired.wav"});
    plugin->settings().SetBool("ReadyToWrite", true); // as the window stores it in state 3
    const auto played = block(false); // the second list replaced the first: file 2 plays
    EXPECT_EQ(played.samples[0][0], 0.2f);
    transform->drain();
    EXPECT_FALSE(plugin->settings().GetBool("ReadyToWrite", true));
    plugin->switchRunState(false, false, 0); // Wavelab closes the playback at a stop
    transform->drain();
    EXPECT_EQ(transform->state(), 0u);
    EXPECT_FALSE(fs::exists(folder() + "/Wavelab 2 [tw-relay] 2 repaired.wav"));
    EXPECT_TRUE(fs::exists(folder() + "/Wavelab 1 [tw-relay] 1 repaired.wav"));
}

TEST_F(TransformTest, AFormatChangeStartsTheStateAgain)
{
    start("WaveLab");
    transform->setState(DSP::Transform::State::ReadyToWrite);
    plugin->setSampleRateAndConfiguration(44100.0f, 1);
    EXPECT_EQ(transform->state(), 0u);
    EXPECT_EQ(transform->fileHandler().audioFormat().sampleRate, 44100u);
}

TEST_F(TransformTest, LinkDroppingHostsDropTheLinkAfterACaptureWithoutAWindow)
{
    start("Samplitude Pro X"); // 25
    EXPECT_TRUE(transform->hasLink());
    block(false);
    plugin->notifyElementSet();
    transform->drain();
    EXPECT_EQ(transform->state(), 2u);
    EXPECT_FALSE(transform->hasLink());
    transform->ensureLink();
    EXPECT_TRUE(transform->hasLink());
}

TEST_F(TransformTest, WindowActionsDoNothingOnceTheirWindowIsGone)
{
    start("WaveLab");
    auto window = std::make_unique<RecordingWindow>();
    transform->attachMainWindow(window.get());
    transform->fileHandler().setReferenceMode(true);
    block(false);
    plugin->notifyElementSet(); // the pass ends: the window is asked for REPAIR
    transform->drain();
    transform->attachMainWindow(nullptr);
    auto& calls = window->calls;
    EXPECT_TRUE(calls.empty()); // queued, not run yet
    window.reset();             // the window closes before the timer runs the command
    pipeTick();                 // must not touch the dead window
    auto alive = std::make_unique<RecordingWindow>();
    transform->attachMainWindow(alive.get());
    transform->fileHandler().setReferenceMode(true);
    block(false);
    plugin->notifyElementSet();
    transform->drain();
    pipeTick();
    EXPECT_EQ(alive->calls, std::vector<std::string>{"repair"});
    transform->attachMainWindow(nullptr);
}

// A run stop while repaired audio plays closes the playback (the file goes,
// the state returns to Idle) only in the hosts that close it at a stop;
// Nuendo joins them from 8.1 on.
TEST_F(TransformTest, ARunStopClosesThePlaybackOnlyWhereTheHostDoes)
{
    struct Case {
        const char* host;
        std::optional<HostVersion> version;
        bool closes;
    };
    const Case cases[] = {
        {"WaveLab", std::nullopt, true},           {"Cubase", std::nullopt, false},
        {"Nuendo", HostVersion{8, 0, 9}, false},   {"Nuendo", HostVersion{8, 1, 0}, true},
        {"Nuendo", std::nullopt, false}, // an unknown version counts as 1.0
    };
    for (const auto& c : cases) {
        HostVersion::forget();
        if (c.version)
            HostVersion::remember(*c.version);
        start(c.host);
        const std::string clip = folder() + "/Clip 1 [tw-relay] 1 repaired.wav";
        fs::create_directories(folder());
        ASSERT_TRUE(SoundFile::writePlanar(clip, {std::vector<float>(4096, 0.25f), std::vector<float>(4096, 0.25f)}));
        transform->commandPipe().PostToHigh(new Shuttle::LoadRepairedFileCommand(*transform, {clip}));
        pipeTick();
        ASSERT_EQ(transform->state(), 3u) << c.host;
        EXPECT_EQ(block(false).samples[0][0], 0.25f) << c.host;
        plugin->switchRunState(false, false, 0);
        transform->drain();
        EXPECT_EQ(transform->state(), c.closes ? 0u : 3u) << c.host;
        EXPECT_EQ(fs::exists(clip), !c.closes) << c.host;
        TearDown();
    }
    HostVersion::forget();
}

// Refreshing: Cubase and Nuendo always return to Idle; elsewhere only when
// no repaired file waits in the folder.
TEST_F(TransformTest, RefreshReturnsToIdleWhenNothingWaitsOrTheHostAlwaysDoes)
{
    struct Case {
        const char* host;
        bool repairedWaiting;
        uint32_t after;
        std::optional<uint32_t> counted; // the repaired files the refresh found, where it looks
    };
    const Case cases[] = {
        {"WaveLab", true, 3, 1}, {"WaveLab", false, 0, 0}, {"Cubase", true, 0, {}}, {"Nuendo", true, 0, {}}};
    for (const auto& c : cases) {
        start(c.host);
        fs::create_directories(folder());
        if (c.repairedWaiting) {
            ASSERT_TRUE(SoundFile::writePlanar(folder() + "/Clip 1 [tw-relay] 1 repaired.wav",
                                               {std::vector<float>(8, 0.5f)}));
        }
        transform->setState(DSP::Transform::State::ReadyToWrite);
        transform->refreshRepaired();
        EXPECT_EQ(transform->state(), c.after) << c.host << (c.repairedWaiting ? " with" : " without") << " a file";
        if (c.counted) {
            EXPECT_EQ(transform->repairedCount(), *c.counted) << c.host;
        }
        TearDown();
    }
}
