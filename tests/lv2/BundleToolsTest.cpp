// The installed bundle in the LV2 tools of the machine: lilv's description,
// the schemas' validation, lv2file's and lv2apply's renders.
#include <gtest/gtest.h>

#include "InstalledBundle.h"
#include "Noise.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using namespace Lv2Test;
using TestSupport::SoundFile;

namespace {

struct PluginCase {
    const char* name;
    const char* uri;
    int channels;
    int sampleRate;
    size_t frames; // the mono file's length is no multiple of lv2file's 512-frame block
};

const PluginCase Plugins[] = {
    {"stereo", InstalledBundle::Stereo, 2, 48000, 48 * 1024},
    {"mono", InstalledBundle::Mono, 1, 44100, 30870},
};

std::string caseName(const testing::TestParamInfo<PluginCase>& info) { return info.param.name; }

std::vector<std::string> capturedClips()
{
    std::vector<std::string> clips;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(shuttleFolder(), ec))
        if (entry.path().filename().string().find("captured.wav") != std::string::npos)
            clips.push_back(entry.path().string());
    return clips;
}

class BundleTools : public testing::TestWithParam<PluginCase> {
protected:
    void SetUp() override
    {
        InstalledBundle::lv2Path();
        resetShuttleFolder();
        dir = TestSupport::makeTempFolder("lv2-tools");
        input = dir + "/in.wav";
        ASSERT_TRUE(makeNoise(input, GetParam().channels, GetParam().sampleRate, GetParam().frames));
    }

    CommandResult lv2file(const std::string& output, const std::string& extra = "")
    {
        return runCommand("lv2file -i '" + input + "' -o '" + output + "' " + extra + " " + GetParam().uri);
    }

    std::string dir, input;
};

} // namespace

TEST_P(BundleTools, LilvDescribesThePluginWithoutWarnings)
{
    const auto described = runCommand(std::string("lv2info ") + GetParam().uri);
    EXPECT_EQ(described.status, 0) << described.output;
    EXPECT_EQ(described.errors, "");
    EXPECT_NE(described.output.find("Has latency:       yes"), std::string::npos) << described.output;
    EXPECT_NE(described.output.find("1 = \"Preview (send to TW)\""), std::string::npos) << described.output;
    EXPECT_NE(described.output.find("http://quillex.example/lv2/tw6relay/ui"), std::string::npos) << described.output;
}

TEST_P(BundleTools, Lv2fileRendersTheFileUnchangedAndSendsNothing)
{
    const auto rendered = lv2file(dir + "/out.wav");
    ASSERT_EQ(rendered.status, 0) << rendered.output;
    const auto in = SoundFile::open(input), out = SoundFile::open(dir + "/out.wav");
    ASSERT_TRUE(in.ok()) << in.error();
    ASSERT_TRUE(out.ok()) << out.error();
    ASSERT_EQ(out.value().channels(), GetParam().channels);
    EXPECT_EQ(out.value().frames(), in.value().frames());
    EXPECT_TRUE(out.value().interleaved() == in.value().interleaved());
    EXPECT_TRUE(capturedClips().empty()) << "a Process pass captured " << capturedClips().front();
}

// lv2file pads its last block with whatever its buffer held: the clip holds
// every frame the host rendered, the input first.
TEST_P(BundleTools, Lv2fileWithPreviewSendsTheInputAsAClip)
{
    const auto rendered = lv2file(dir + "/out.wav", "-p pass:1");
    ASSERT_EQ(rendered.status, 0) << rendered.output;
    const auto in = SoundFile::open(input), out = SoundFile::open(dir + "/out.wav");
    ASSERT_TRUE(in.ok()) << in.error();
    ASSERT_TRUE(out.ok()) << out.error();
    const auto inSamples = in.value().interleaved();
    EXPECT_TRUE(out.value().interleaved() == inSamples);

    const auto clips = capturedClips();
    ASSERT_EQ(clips.size(), 1u);
    const auto clip = SoundFile::open(clips.front());
    ASSERT_TRUE(clip.ok()) << clip.error();
    ASSERT_EQ(clip.value().channels(), GetParam().channels);
    EXPECT_EQ(clip.value().sampleRate(), GetParam().sampleRate);
    EXPECT_EQ(clip.value().frames(), (in.value().frames() + 511) / 512 * 512);
    const auto clipSamples = clip.value().interleaved();
    EXPECT_TRUE(clipSamples.size() >= inSamples.size() &&
                std::equal(inSamples.begin(), inSamples.end(), clipSamples.begin()))
        << "the clip does not begin with the input";
}

// lv2apply gives the plug-in no features at all and one frame per run.
TEST_P(BundleTools, Lv2applyPassesTheAudioOneFrameAtATime)
{
    const auto applied = runCommand("lv2apply -i '" + input + "' -o '" + dir + "/out.wav' " + GetParam().uri);
    ASSERT_EQ(applied.status, 0) << applied.output;
    const auto in = SoundFile::open(input), out = SoundFile::open(dir + "/out.wav");
    ASSERT_TRUE(in.ok()) << in.error();
    ASSERT_TRUE(out.ok()) << out.error();
    EXPECT_EQ(out.value().frames(), in.value().frames());
    EXPECT_TRUE(out.value().interleaved() == in.value().interleaved());
}

// A host that loads the plug-in and makes an instance maps only what an
// instance needs: the libraries loaded when first used (GIO for opening files,
// libcurl for the usage reports) stay out of the host's process. The loader's
// trace (LD_DEBUG=files) names every object it maps; the core among them shows
// that the trace covers the plug-in's loading.
TEST_P(BundleTools, AnInstanceLeavesTheLibrariesLoadedWhenFirstNeededUnmapped)
{
    const auto applied =
        runCommand("LD_DEBUG=files lv2apply -i '" + input + "' -o '" + dir + "/out.wav' " + GetParam().uri);
    ASSERT_EQ(applied.status, 0) << applied.output;
    const std::string& trace = applied.errors;
    ASSERT_NE(trace.find("/libvo6relay.so"), std::string::npos) << trace;
    ASSERT_NE(trace.find("file=libzmq.so"), std::string::npos) << trace;
    for (const char* library : {"libgio-2.0.so", "libgobject-2.0.so", "libglib-2.0.so", "libcurl.so"})
        EXPECT_EQ(trace.find(std::string("file=") + library), std::string::npos) << library;
}

INSTANTIATE_TEST_SUITE_P(Plugins, BundleTools, testing::ValuesIn(Plugins), caseName);

TEST(BundleTurtle, ValidatesAgainstTheSchemasOfLv2)
{
    std::string files;
    for (const auto& schema : fs::recursive_directory_iterator("/usr/lib/lv2"))
        if (schema.path().extension() == ".ttl")
            files += " '" + schema.path().string() + "'";
    const std::string bundle = InstalledBundle::bundle();
    const auto validated = runCommand("sord_validate" + files + " '" + bundle + "/manifest.ttl' '" + bundle +
                                      "/tw6relay.ttl'");
    EXPECT_EQ(validated.status, 0);
    EXPECT_NE(validated.output.find("Found 0 errors"), std::string::npos) << validated.output;
    EXPECT_EQ(validated.output.find("warning"), std::string::npos) << validated.output;
}
