// The tests' libsndfile helper against sox: channel order both ways on a file
// of three channels, and failures that say what went wrong.
#include <gtest/gtest.h>

#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using TestSupport::SoundFile;

namespace {

constexpr int Channels = 3;
constexpr size_t Frames = 1000;

// Multiples of 1/1024 below full scale: sox carries them through its integer
// samples exactly. Every channel and frame has its own value.
float sampleAt(size_t channel, size_t frame) { return float(channel) * 0.25f - 0.375f + float(frame % 200) / 1024.0f; }

std::vector<float> interleavedSignal()
{
    std::vector<float> samples(Frames * Channels);
    for (size_t i = 0; i < Frames; ++i)
        for (size_t c = 0; c < Channels; ++c)
            samples[i * Channels + c] = sampleAt(c, i);
    return samples;
}

void writeRaw(const std::string& path, const std::vector<float>& samples)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(samples.data()),
                                                std::streamsize(samples.size() * sizeof(float)));
}

std::vector<float> readRaw(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<float> samples(size_t(in.tellg()) / sizeof(float));
    in.seekg(0).read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * sizeof(float)));
    return samples;
}

int run(const std::string& command) { return std::system(command.c_str()); }

} // namespace

TEST(SoundFile, ReadsAFileSoxWroteInterleavedAndByChannel)
{
    const std::string folder = TestSupport::makeTempFolder("soundfile");
    const std::string raw = folder + "/in.f32", wav = folder + "/sox.wav";
    writeRaw(raw, interleavedSignal());
    ASSERT_EQ(run("sox -V1 -D -t f32 -r 8000 -c 3 '" + raw + "' -e floating-point -b 32 '" + wav + "'"), 0);

    const auto file = SoundFile::open(wav);
    ASSERT_TRUE(file.ok()) << file.error();
    EXPECT_EQ(file.value().channels(), Channels);
    EXPECT_EQ(file.value().sampleRate(), 8000);
    EXPECT_EQ(file.value().frames(), sf_count_t(Frames));
    EXPECT_EQ(file.value().sampleFormat(), SF_FORMAT_FLOAT);
    EXPECT_EQ(file.value().interleaved(), interleavedSignal());
    // Read again: each read starts from the first frame.
    const auto planar = file.value().planar();
    ASSERT_EQ(planar.size(), size_t(Channels));
    for (size_t c = 0; c < Channels; ++c) {
        ASSERT_EQ(planar[c].size(), Frames) << "channel " << c;
        for (size_t i = 0; i < Frames; ++i)
            ASSERT_EQ(planar[c][i], sampleAt(c, i)) << "channel " << c << ", frame " << i;
    }
    EXPECT_FALSE(file.value().broadcastInfo()) << "sox writes no broadcast extension";
    EXPECT_FALSE(file.value().timeReference());
}

TEST(SoundFile, WritesChannelsInTheOrderSoxReadsThem)
{
    const std::string folder = TestSupport::makeTempFolder("soundfile");
    const std::string wav = folder + "/planar.wav", raw = folder + "/out.f32";
    std::vector<std::vector<float>> channels(Channels, std::vector<float>(Frames));
    for (size_t c = 0; c < Channels; ++c)
        for (size_t i = 0; i < Frames; ++i)
            channels[c][i] = sampleAt(c, i);
    ASSERT_TRUE(SoundFile::writePlanar(wav, channels, {.sampleRate = 8000}));

    ASSERT_EQ(run("sox -V1 -D '" + wav + "' -t f32 '" + raw + "'"), 0);
    EXPECT_EQ(readRaw(raw), interleavedSignal());
}

// No file is a failure with the path and libsndfile's reason, and nothing a
// caller could mistake for a silent sound; a write that cannot be whole leaves
// no file behind.
TEST(SoundFile, FailuresCarryThePathAndTheReason)
{
    const std::string folder = TestSupport::makeTempFolder("soundfile");
    const std::string missing = folder + "/missing.wav", text = folder + "/text.wav";
    std::ofstream(text) << "not a sound file at all, only some words";
    struct Case {
        std::string path;
        const char* reason; // the system's words, where they are known
    };
    const Case unreadable[] = {{missing, "No such file"}, {text, nullptr}};
    for (const auto& c : unreadable) {
        const auto file = SoundFile::open(c.path);
        ASSERT_FALSE(file.ok()) << c.path;
        const std::string& error = file.error();
        EXPECT_EQ(error.rfind(c.path + ": ", 0), 0u) << error;
        EXPECT_GT(error.find_last_not_of(" .:\n"), error.rfind(':')) << "no reason given: " << error;
        if (c.reason) {
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        }
    }

    const std::string ragged = folder + "/ragged.wav";
    const auto written = SoundFile::writePlanar(ragged, {std::vector<float>(10), std::vector<float>(9)});
    EXPECT_FALSE(written);
    EXPECT_NE(std::string(written.message()).find("channel 1 has 9 frames"), std::string::npos) << written.message();
    EXPECT_FALSE(SoundFile::writePlanar(ragged, {}));
    EXPECT_FALSE(SoundFile::writeInterleaved(ragged, 2, std::vector<float>(7)));
    EXPECT_FALSE(std::filesystem::exists(ragged));
    const auto nowhere = SoundFile::writePlanar(folder + "/no/such/folder.wav", {std::vector<float>(4)});
    EXPECT_FALSE(nowhere);
    EXPECT_NE(std::string(nowhere.message()).find("No such file"), std::string::npos) << nowhere.message();
}
