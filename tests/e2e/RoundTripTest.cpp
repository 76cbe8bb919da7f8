#include <gtest/gtest.h>

#include "ipc/StandinProcess.h"
#include "support/TestEnvironment.h"
#include "io/ConfigFile.h"

#include <cstdlib>
#include <filesystem>
#include <sndfile.h>

namespace fs = std::filesystem;

namespace {

struct Audio {
    SF_INFO info{};
    std::vector<float> samples;
    SF_BROADCAST_INFO bext{};
    bool hasBext = false;
};

Audio readAudio(const std::string& path)
{
    Audio a;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &a.info);
    if (!f)
        return a;
    a.samples.resize(size_t(a.info.frames * a.info.channels));
    sf_readf_float(f, a.samples.data(), a.info.frames);
    a.hasBext = sf_command(f, SFC_GET_BROADCAST_INFO, &a.bext, sizeof a.bext) == SF_TRUE;
    sf_close(f);
    return a;
}

int run(const std::string& command) { return std::system(command.c_str()); }

std::string shuttleFolder()
{
    return std::string(std::getenv("XDG_DATA_HOME")) + "/Quillex/VU 6 Verov Edodod Session Data/Relay";
}

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = TestSupport::makeTempFolder("e2e");
        input = dir + "/in.wav";
        fs::remove_all(shuttleFolder());
        Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").RemoveValue("ShuttleOpenFilesAtStartUp");
        ASSERT_EQ(run("sox -n -r 48000 -c 2 -e floating-point -b 32 '" + input + "' synth 2 whitenoise gain -6"), 0);
    }

    // Renders the input as Pro Tools would, with the timeline offset and a long idle.
    int renderAsProTools(const std::string& extra = "")
    {
        return run(std::string(RELAY_HOST_PATH) + " render --as 'Pro Tools' --in '" + input + "' --out '" + dir +
                   "/out.wav' --flag-a --position 48000 --timeline-offset 1000000 --processing-stopped "
                   "--idle-every 8 --idle-ms 2500 " + extra + " 2>" + dir + "/host.log");
    }

    std::string dir, input;
};

} // namespace

TEST_F(RoundTrip, ACaptureReachesTheEditorAndTheRepairedClipComesBack)
{
    TestSupport::StandinProcess editor({}, true);
    ASSERT_EQ(renderAsProTools(), 0);

    // The clip: named for the host, the host's audio exactly, the time reference
    // the transport start plus the timeline offset.
    const std::string clip = shuttleFolder() + "/Pro Tools 1 [tw-relay] 1 captured.wav";
    const Audio source = readAudio(input), captured = readAudio(clip);
    ASSERT_EQ(captured.info.channels, 2);
    EXPECT_EQ((captured.info.format & SF_FORMAT_SUBMASK), SF_FORMAT_FLOAT);
    EXPECT_TRUE(captured.samples == source.samples);
    ASSERT_TRUE(captured.hasBext);
    EXPECT_EQ(uint64_t(captured.bext.time_reference_low) | uint64_t(captured.bext.time_reference_high) << 32,
              48000u + 1000000u);

    // The editor was told with the exact bytes, after the start-up key was set.
    EXPECT_FALSE(editor.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01").empty());
    EXPECT_TRUE(Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").GetBool("ShuttleOpenFilesAtStartUp", false));

    // The stand-in's repair came back into the folder, and its message 4 was answered.
    const Audio repaired = readAudio(shuttleFolder() + "/Pro Tools 1 [tw-relay] 1 repaired.wav");
    ASSERT_EQ(repaired.samples.size(), source.samples.size());
    for (size_t i = 0; i < source.samples.size(); i += 997)
        EXPECT_EQ(repaired.samples[i], source.samples[i] * 0.5f);
    EXPECT_FALSE(editor.expect("editor-reply").empty()) << "the plug-in did not answer the editor's message 4";
}

TEST_F(RoundTrip, WithoutAnEditorTheRenderStillCompletesAndCaptures)
{
    ASSERT_EQ(renderAsProTools(), 0);
    const Audio source = readAudio(input), rendered = readAudio(dir + "/out.wav");
    EXPECT_TRUE(rendered.samples == source.samples);
    EXPECT_TRUE(fs::exists(shuttleFolder() + "/Pro Tools 1 [tw-relay] 1 captured.wav"));
    EXPECT_TRUE(Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").GetBool("ShuttleOpenFilesAtStartUp", false));
}
