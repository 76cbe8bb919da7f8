#include <gtest/gtest.h>

#include "ipc/StandinProcess.h"
#include "support/ShuttleFolder.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "io/ConfigFile.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using TestSupport::shuttleFolder;
using TestSupport::SoundFile;

namespace {

int run(const std::string& command) { return std::system(command.c_str()); }

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = TestSupport::makeTempFolder("e2e");
        input = dir + "/in.wav";
        TestSupport::resetShuttleFolder();
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
    const auto source = SoundFile::open(input), captured = SoundFile::open(clip);
    ASSERT_TRUE(source.ok()) << source.error();
    ASSERT_TRUE(captured.ok()) << captured.error();
    ASSERT_EQ(captured.value().channels(), 2);
    EXPECT_EQ(captured.value().sampleFormat(), SF_FORMAT_FLOAT);
    const auto sourceSamples = source.value().interleaved();
    EXPECT_TRUE(captured.value().interleaved() == sourceSamples);
    ASSERT_TRUE(captured.value().timeReference());
    EXPECT_EQ(*captured.value().timeReference(), 48000u + 1000000u);

    // The editor was told with the exact bytes, after the start-up key was set.
    EXPECT_FALSE(editor.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01").empty());
    EXPECT_TRUE(Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").GetBool("ShuttleOpenFilesAtStartUp", false));

    // The stand-in's repair came back into the folder, and its message 4 was answered.
    const auto repaired = SoundFile::interleavedOf(shuttleFolder() + "/Pro Tools 1 [tw-relay] 1 repaired.wav");
    ASSERT_EQ(repaired.size(), sourceSamples.size());
    for (size_t i = 0; i < sourceSamples.size(); i += 997)
        EXPECT_EQ(repaired[i], sourceSamples[i] * 0.5f);
    EXPECT_FALSE(editor.expect("editor-reply").empty()) << "the plug-in did not answer the editor's message 4";
}

TEST_F(RoundTrip, WithoutAnEditorTheRenderStillCompletesAndCaptures)
{
    ASSERT_EQ(renderAsProTools(), 0);
    EXPECT_TRUE(SoundFile::interleavedOf(dir + "/out.wav") == SoundFile::interleavedOf(input));
    EXPECT_TRUE(fs::exists(shuttleFolder() + "/Pro Tools 1 [tw-relay] 1 captured.wav"));
    EXPECT_TRUE(Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").GetBool("ShuttleOpenFilesAtStartUp", false));
}
