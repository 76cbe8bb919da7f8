#include <gtest/gtest.h>

#include "io/ConfigFile.h"
#include "ipc/StandinProcess.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "ui/Image.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

// relay-host as a user runs it, with the editor stand-in on the editor's ports:
// the window it drives through the whole round trip, and many instances at once.

namespace fs = std::filesystem;
using TestSupport::SoundFile;

namespace {

constexpr const char* ProductKey = "SOFTWARE\\Quillex\\TW6Relay";

// A stereo float file of its own for each seed.
void writeSignal(const std::string& path, uint32_t seed, size_t frames)
{
    std::vector<float> samples(frames * 2);
    for (float& s : samples) {
        seed = seed * 1664525u + 1013904223u;
        s = float(int32_t(seed >> 8) % 8192) / 16384.0f;
    }
    ASSERT_TRUE(SoundFile::writeInterleaved(path, 2, samples));
}

std::vector<std::string> lines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// Pixels of the clip list that are clearly blue: the thumbnails of repaired clips.
size_t bluePixelsInClipList(const std::string& png)
{
    const auto image = UI::Image::loadPng(png);
    if (!image)
        return 0;
    size_t blue = 0;
    for (int y = 50; y < 170; ++y)
        for (int x = 20; x < 380; ++x) {
            const uint8_t* p = image->data() + size_t(y) * image->stride() + size_t(x) * 4;
            blue += p[2] > p[0] + 60 && p[2] > p[1] + 20;
        }
    return blue;
}

class RelayHostRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = TestSupport::makeTempFolder("relay-host");
        session = dir + "/session";
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        Util::ConfigFile(ProductKey).RemoveValue("ReadyToWrite");
        Util::ConfigFile(ProductKey).SetString("InstallPath", dir + "/no editor here");
    }

    void TearDown() override
    {
        if (HasFailure())
            std::system(("cat '" + dir + "/host.err' >&2").c_str());
    }

    std::string folder() const { return session + "/Relay"; }

    // relay-host with these arguments; its output lines go to host.out. RELAY_HOST
    // names another build of it (the ThreadSanitizer one).
    int relayHost(const std::string& arguments)
    {
        const char* other = std::getenv("RELAY_HOST");
        return std::system((std::string(other ? other : RELAY_HOST_PATH) + " " + arguments + " > '" + dir + "/host.out' 2> '" + dir +
                            "/host.err'")
                               .c_str());
    }
    std::vector<std::string> output() const { return lines(dir + "/host.out"); }

    std::string dir, session;
};

} // namespace

// Pass 1 captures, the editor repairs, the window loads the repaired clip
// (its thumbnail blue), pass 2 plays it in place of the host's audio; the
// pictures show states 2 and 3.
TEST_F(RelayHostRoundTrip, TheWindowCarriesTheRepairedClipIntoTheSecondPass)
{
    TestSupport::StandinProcess editor({"--folder", folder()}, true);
    const std::string in = dir + "/in.wav";
    writeSignal(in, 7, 48000);
    ASSERT_EQ(relayHost("render --as 'Pro Tools' --in '" + in + "' --out '" + dir +
                        "/out-{pass}.wav' --passes 2 --processing-stopped --idle-every 8 "
                        "--press '0:Repair On Off Button' --await 1:2 --await 1:3 "
                        "--await 2:0 --screenshots '" + dir + "/window-{pass}-{state}.png'"),
              0);

    const std::string clip = folder() + "/Pro Tools 1 [tw-relay] 1 captured.wav";
    const std::vector<float> source = SoundFile::interleavedOf(in);
    EXPECT_EQ(SoundFile::interleavedOf(clip), source);
    EXPECT_EQ(SoundFile::interleavedOf(dir + "/out-1.wav"), source);
    std::vector<float> halved(source);
    for (float& s : halved)
        s *= 0.5f;
    EXPECT_EQ(SoundFile::interleavedOf(dir + "/out-2.wav"), halved) << "pass 2 is the repaired clip, sample for sample";
    EXPECT_FALSE(fs::exists(folder() + "/Pro Tools 1 [tw-relay] 1 repaired.wav")) << "the played file goes";

    const auto out = output();
    const std::vector<std::string> expected = {
        "picture: " + dir + "/window-0-0.png (state 0)",
        "picture: " + dir + "/window-1-2.png (state 2)",
        "picture: " + dir + "/window-1-3.png (state 3)",
        "picture: " + dir + "/window-2-0.png (state 0)",
        "captured: " + clip,
    };
    EXPECT_EQ(out, expected);
    const size_t gray = bluePixelsInClipList(dir + "/window-1-2.png");
    const size_t blue = bluePixelsInClipList(dir + "/window-1-3.png");
    EXPECT_GT(blue, 2000u) << "the repaired clip's thumbnail is blue";
    EXPECT_LT(gray * 10, blue) << "the captured clip's thumbnail is gray";
}

// The window's controls pressed by name: REFERENCE is stored; Discard tells the editor.
TEST_F(RelayHostRoundTrip, PressesTheWindowsControlsByName)
{
    TestSupport::StandinProcess editor({"--folder", folder()}, true);
    const std::string in = dir + "/in.wav";
    writeSignal(in, 8, 24000);
    ASSERT_EQ(relayHost("render --as 'Pro Tools' --in '" + in + "' --processing-stopped --idle-every 8 "
                        "--press '0:Repair On Off Button' --await 1:3 --press '1:Discard Button' --await 1:0 --press '1:Reference On Off Button' "
                        "--screenshots '" + dir + "/w-{state}.png'"),
              0);
    EXPECT_NE(editor.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 03 -- enum 3"), "");
    EXPECT_TRUE(Util::ConfigFile(ProductKey).GetBool("Reference Clip", false));
    EXPECT_TRUE(fs::exists(dir + "/w-0.png"));

    // A control the layout does not have, or one disabled now, is an error that says so.
    EXPECT_EQ(relayHost("render --in '" + in + "' --press '1:Launch Button'"), 1 << 8);
    EXPECT_NE(lines(dir + "/host.err").back().find("no control named \"Launch Button\""), std::string::npos);
}

// Why nothing was captured, one line each.
TEST_F(RelayHostRoundTrip, SaysWhyNothingWasCaptured)
{
    const std::string in = dir + "/in.wav";
    writeSignal(in, 9, 4800);
    struct Case {
        const char* arguments;
        const char* line;
    };
    const Case cases[] = {
        {"--as Peak", "nothing captured: the plug-in does not capture in this host"},
        {"--as 'Pro Tools' --format 4", "nothing captured: this offline format captures analysis passes only (--flag-a)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ASSERT_EQ(relayHost(std::string("render ") + c.arguments + " --in '" + in + "' --processing-stopped"), 0);
        EXPECT_EQ(output(), std::vector<std::string>{c.line});
    }
}

// Sixteen instances render at once, each on its own thread with its own
// signal: sixteen clips, each its instance's input, under sixteen names.
TEST_F(RelayHostRoundTrip, SixteenInstancesCaptureAtOnce)
{
    TestSupport::StandinProcess editor({"--folder", folder()}, true);
    constexpr int Instances = 16;
    for (int i = 1; i <= Instances; ++i)
        writeSignal(dir + "/in-" + std::to_string(i) + ".wav", 100u + uint32_t(i), 48000);
    ASSERT_EQ(relayHost("render --as 'Pro Tools' --instances 16 --in '" + dir + "/in-{instance}.wav' --out '" + dir +
                        "/out-{instance}.wav' --processing-stopped"),
              0);
    std::set<std::string> names;
    const auto out = output();
    ASSERT_EQ(out.size(), size_t(Instances));
    for (int i = 1; i <= Instances; ++i) {
        SCOPED_TRACE(i);
        const std::string prefix = "instance " + std::to_string(i) + " captured: ";
        const std::string& line = out[size_t(i - 1)];
        ASSERT_EQ(line.substr(0, prefix.size()), prefix);
        const std::string clip = line.substr(prefix.size());
        names.insert(clip);
        const auto source = SoundFile::interleavedOf(dir + "/in-" + std::to_string(i) + ".wav");
        EXPECT_EQ(SoundFile::interleavedOf(clip), source);
        EXPECT_EQ(SoundFile::interleavedOf(dir + "/out-" + std::to_string(i) + ".wav"), source);
    }
    EXPECT_EQ(names.size(), size_t(Instances)) << "every clip under a name of its own";
}

// Sixty-four instances in a host the shuttle leaves alone pass their audio through exactly.
TEST_F(RelayHostRoundTrip, SixtyFourInstancesPassTheirAudioThrough)
{
    constexpr int Instances = 64;
    for (int i = 1; i <= Instances; ++i)
        writeSignal(dir + "/in-" + std::to_string(i) + ".wav", 500u + uint32_t(i), 9600);
    ASSERT_EQ(relayHost("render --as Peak --instances 64 --block 256 --in '" + dir + "/in-{instance}.wav' --out '" +
                        dir + "/out-{instance}.wav'"),
              0);
    for (int i = 1; i <= Instances; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(SoundFile::interleavedOf(dir + "/out-" + std::to_string(i) + ".wav"),
                  SoundFile::interleavedOf(dir + "/in-" + std::to_string(i) + ".wav"));
    }
}
