#include <gtest/gtest.h>

#include "entry/LoadedPlugin.h"
#include "io/ConfigFile.h"
#include "ipc/StandinProcess.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

// The whole exchange through the loaded library, with the editor stand-in on
// the editor's own ports: the wrapper opens the main window, renders a pass,
// idles as hosts do, renders again. The host is whatever this program's name
// says: ctest runs it under one name per host (tests.cmake), and each suite
// here belongs to one of them.

namespace fs = std::filesystem;

namespace {

constexpr uint32_t Frames = 512;
constexpr uint32_t Blocks = 40;
constexpr const char* ProductKey = "SOFTWARE\\Quillex\\TW6Relay";

// Planar stereo, the same every run: a pass's input.
struct Signal {
    std::vector<float> left, right;
    Signal() : left(Frames * Blocks), right(Frames * Blocks)
    {
        uint32_t seed = 12345;
        for (size_t i = 0; i < left.size(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            left[i] = float(int32_t(seed >> 8) % 8192) / 16384.0f;
            right[i] = -left[i] * 0.75f;
        }
    }
};

class WindowRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        session = TestSupport::makeTempFolder("session");
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        Util::ConfigFile(ProductKey).RemoveValue("ReadyToWrite");
        // REPAIR, as the user left it: the window's first mode command and the
        // shuttle's own default agree, whenever the command runs.
        Util::ConfigFile(ProductKey).SetBool("Reference Clip", false);
        Util::ConfigFile(ProductKey).SetString("InstallPath", session + "/no editor here");
        editor = std::make_unique<TestSupport::StandinProcess>(std::vector<std::string>{"--folder", folder()}, true);
        createInstance();
    }

    // Selector 1, then the link proven up: the stand-in's request is answered.
    void createInstance()
    {
        wrapper = std::make_unique<Wrapper>(plugin);
        wrapper->create(48000.0f, 1);
        state = secondListIndex(plugin, wrapper->instance, "Shuttle State");
        editor->command("count 0");
        ASSERT_TRUE(idleUntil([&] { return !editor->expect("RECV editor-reply", std::chrono::milliseconds(5)).empty(); }));
    }

    // A failure shows what the editor saw.
    void TearDown() override
    {
        if (!HasFailure() || !editor)
            return;
        editor->expect("\n", std::chrono::milliseconds(200)); // whatever came last
        for (const auto& line : editor->log())
            std::fprintf(stderr, "editor: %s\n", line.c_str());
    }

    std::string folder() const { return session + "/Relay"; }

    // Selector 39, as the host's run loop calls it: the link, the timers and the window.
    void idle() { plugin(39, 1, wrapper->instance, nullptr); }

    template <typename Done>
    bool idleUntil(Done done)
    {
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
             std::chrono::steady_clock::now() < end;) {
            idle();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    bool reachesState(uint32_t wanted)
    {
        return idleUntil([&] { return shuttleState() == wanted; });
    }
    uint32_t shuttleState() { return uint32_t(secondValue(plugin, wrapper->instance, state)); }

    void openEditor()
    {
        Bytes record(128);
        record.put<uint32_t>(0, 0); // open, without a parent window: off screen
        record.put<uint32_t>(16, 470);
        record.put<uint32_t>(20, 276);
        ASSERT_EQ(plugin(28, 1, wrapper->instance, *record), 0);
    }
    void closeEditor()
    {
        Bytes record(128);
        record.put<uint32_t>(0, 1);
        ASSERT_EQ(plugin(28, 1, wrapper->instance, *record), 0);
    }
    // A click at a point of the window (selector 29: press, then release).
    void click(uint32_t x, uint32_t y)
    {
        for (uint32_t kind : {2u, 3u}) {
            Bytes event(24);
            event.put<uint32_t>(0, kind);
            event.put<uint32_t>(4, x);
            event.put<uint32_t>(8, y);
            ASSERT_EQ(plugin(29, 1, wrapper->instance, *event), 0);
        }
    }

    // One pass of the signal, block by block (selector 22); answers the
    // output, interleaved.
    std::vector<float> render(bool flagA)
    {
        const Signal input;
        std::vector<float> out;
        Bytes transport(136);
        for (uint32_t b = 0; b < Blocks; ++b) {
            std::vector<float> left(input.left.begin() + b * Frames, input.left.begin() + (b + 1) * Frames);
            std::vector<float> right(input.right.begin() + b * Frames, input.right.begin() + (b + 1) * Frames);
            float* channels[2] = {left.data(), right.data()};
            Bytes block(360);
            block.put<uint64_t>(0, Frames);
            block.putPointer(8, channels);
            block.putPointer(16, *transport);
            block.put<uint32_t>(352, flagA ? 1 : 0);
            EXPECT_EQ(plugin(22, 0, wrapper->instance, *block), 0);
            for (uint32_t i = 0; i < Frames; ++i) {
                out.push_back(left[i]);
                out.push_back(right[i]);
            }
        }
        return out;
    }

    // A capture pass that the editor repairs: ends in state 2 with the
    // editor told, and the repaired file in the folder.
    void captureAndRepair(const std::string& host)
    {
        render(true);
        ASSERT_TRUE(reachesState(2)); // the pass ends when blocks stop for the time-out
        ASSERT_NE(editor->expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01 -- enum 1"), "");
        ASSERT_NE(editor->expect("NOTIFIED"), "");
        repaired = folder() + "/" + host + " 1 [tw-relay] 1 repaired.wav";
        ASSERT_TRUE(fs::exists(repaired));
    }

    // The next pass plays the repaired clip in place of the host's audio; the
    // played file goes and the state returns to 0.
    void playRepaired()
    {
        const std::vector<float> expected = TestSupport::SoundFile::interleavedOf(repaired);
        ASSERT_EQ(expected.size(), size_t(2 * Frames * Blocks));
        EXPECT_TRUE(render(false) == expected);
        EXPECT_TRUE(reachesState(0));
        EXPECT_FALSE(fs::exists(repaired));
    }

    bool readyToWrite() const { return Util::ConfigFile(ProductKey).GetBool("ReadyToWrite", false); }

    LoadedPlugin plugin;
    std::unique_ptr<TestSupport::StandinProcess> editor;
    std::unique_ptr<Wrapper> wrapper;
    uint32_t state = 0;
    std::string session;
    std::string repaired;
};

// Discard Button's centre in the main window's layout.
constexpr uint32_t DiscardX = 27, DiscardY = 148;

class ProToolsWindowRoundTrip : public WindowRoundTrip {};
class MediaComposerWindowRoundTrip : public WindowRoundTrip {};

} // namespace

TEST_F(ProToolsWindowRoundTrip, TheEditorsMessage4ReachesTheWindowWhichLoadsTheRepairedClip)
{
    openEditor();
    EXPECT_NE(editor->expect("RECV push frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 05 -- enum 5"), "");
    captureAndRepair("Pro Tools");
    EXPECT_NE(editor->expect("SENT editor-request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 04"), "");
    ASSERT_TRUE(reachesState(3)); // through the window's pipe timer
    EXPECT_TRUE(readyToWrite());
    playRepaired();
    EXPECT_FALSE(readyToWrite());
}

TEST_F(ProToolsWindowRoundTrip, DiscardFromTheWindowAndFromTheEditorTellTheOtherSide)
{
    openEditor();
    captureAndRepair("Pro Tools");
    ASSERT_TRUE(reachesState(3));
    click(DiscardX, DiscardY);
    ASSERT_TRUE(reachesState(0));
    EXPECT_NE(editor->expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 03 -- enum 3"), "");

    // The next pass is repaired again (a new clip); this time the editor discards.
    fs::remove(repaired);
    render(true);
    ASSERT_TRUE(reachesState(2));
    ASSERT_TRUE(reachesState(3));
    editor->command("discard");
    ASSERT_TRUE(reachesState(0));
    // The window's discard answers the editor's with its own 3.
    EXPECT_NE(editor->expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 03 -- enum 3"), "");
}

TEST_F(ProToolsWindowRoundTrip, AWindowOpenedAgainWhileRepairedClipsWaitLoadsThem)
{
    openEditor();
    captureAndRepair("Pro Tools");
    ASSERT_TRUE(reachesState(3));
    // The host closes the editor and the session; it loads the session again.
    closeEditor();
    wrapper.reset();
    createInstance();
    ASSERT_EQ(shuttleState(), 0u);
    EXPECT_TRUE(readyToWrite());
    openEditor();
    ASSERT_TRUE(reachesState(3));
    playRepaired();
}

TEST_F(MediaComposerWindowRoundTrip, TheWindowFindsTheEditorsRequestInTheSettingsStore)
{
    openEditor();
    captureAndRepair("Media Composer");
    Util::ConfigFile requests("SOFTWARE\\Quillex\\TW6");
    ASSERT_TRUE(reachesState(3)); // the window's poll found "SentBackToHost.Media Composer"
    EXPECT_FALSE(requests.GetBool("SentBackToHost.Media Composer", true));
    playRepaired();
}
