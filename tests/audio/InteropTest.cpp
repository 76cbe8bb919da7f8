// Our WAV files read by libsndfile and sox, and WAV files written by sox,
// libsndfile and ffmpeg read by us, all made during the run.
#include <gtest/gtest.h>

#include "Signals.h"
#include "audio/WavDecoder.h"
#include "audio/WavEncoder.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

using Audio::Format;
using Audio::Marker;
using TestSupport::SoundFile;

namespace {

struct Decoded {
    uint32_t channels = 0;
    uint32_t sampleRate = 0;
    std::vector<float> samples; // interleaved
};

Decoded readWithLibsndfile(const std::string& path)
{
    const auto file = SoundFile::open(path);
    EXPECT_TRUE(file.ok()) << file.error();
    if (!file.ok())
        return {};
    return {uint32_t(file.value().channels()), uint32_t(file.value().sampleRate()), file.value().interleaved()};
}

Decoded readWithOurs(const std::string& path)
{
    Audio::Decode::WAV::Decoder decoder(path);
    const auto synced = decoder.Sync();
    EXPECT_TRUE(synced.ok()) << path << ": " << (synced.ok() ? "" : synced.error().Description());
    if (!synced.ok())
        return {};
    Decoded d{synced.value().channels, synced.value().sampleRate,
              std::vector<float>(decoder.GetTotalFrames() * synced.value().channels)};
    const auto read = decoder.ReadFloatInterleaved(decoder.GetTotalFrames(), d.samples.data());
    EXPECT_TRUE(read.ok() && read.value() == decoder.GetTotalFrames()) << path;
    return d;
}

// sox's reading of a file, as raw 32-bit floats.
std::vector<float> readWithSox(const std::string& path)
{
    const std::string raw = path + ".f32";
    const std::string command = "sox -V1 '" + path + "' -t f32 '" + raw + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(raw, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<float> samples(bytes.size() / 4);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 4);
    return samples;
}

void run(const std::string& command)
{
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::vector<uint8_t> bextWithReference(const std::string& reference)
{
    std::vector<uint8_t> bext(602, 0);
    std::memcpy(bext.data() + 288, reference.data(), reference.size());
    return bext;
}

} // namespace

TEST(WavInterop, PeersReadEveryFileWeWrite)
{
    const std::string folder = TestSupport::makeTempFolder("ours");
    const std::vector<Marker> markers = {{0, 0, false, "in", ""}, {301, 400, true, "part", "a note"}};
    for (uint32_t channels : {1u, 2u, 6u}) {
        for (const auto& [bytes, isFloat] : {std::pair{2u, false}, {3u, false}, {4u, false}, {4u, true}}) {
            const Format format{channels, bytes, 48000, isFloat, channels == 6 ? 0x3Fu : 0u};
            const std::string path = folder + "/" + std::to_string(channels) + "ch" + std::to_string(bytes) +
                                     (isFloat ? "f" : "i") + ".wav";
            const auto input = TestSupport::rampSignal(999, channels, 0.0f); // sox clips floats beyond 1
            {
                Audio::Encode::WAV::Encoder encoder(path, format);
                ASSERT_TRUE(encoder.BeginWriting().ok());
                ASSERT_TRUE(encoder.WriteFloatInterleaved(999, input.data()).ok());
                ASSERT_TRUE(encoder.WriteMarkers(markers).ok());
                ASSERT_TRUE(encoder.WriteChunk("bext", bextWithReference("REF-" + std::to_string(channels))).ok());
                ASSERT_TRUE(encoder.Finish().ok());
            }
            std::vector<float> expected(input.size());
            for (size_t i = 0; i < input.size(); ++i)
                expected[i] = TestSupport::quantised(input[i], bytes, isFloat);

            const Decoded theirs = readWithLibsndfile(path);
            EXPECT_EQ(theirs.channels, channels) << path;
            EXPECT_EQ(theirs.sampleRate, 48000u) << path;
            EXPECT_EQ(theirs.samples, expected) << path;

            const auto soxSamples = readWithSox(path);
            ASSERT_EQ(soxSamples.size(), expected.size()) << path;
            for (size_t i = 0; i < expected.size(); ++i)
                ASSERT_NEAR(soxSamples[i], expected[i], 1e-7) << path << " sample " << i;

            const auto file = SoundFile::open(path);
            ASSERT_TRUE(file.ok()) << file.error();
            const auto cues = file.value().cues();
            ASSERT_TRUE(cues) << path;
            ASSERT_EQ(cues->cue_count, 2u) << path;
            EXPECT_EQ(cues->cue_points[1].indx, 2);
            EXPECT_EQ(cues->cue_points[1].position, 301u);
            EXPECT_EQ(cues->cue_points[1].sample_offset, 301u);
            const auto bext = file.value().broadcastInfo();
            ASSERT_TRUE(bext) << path;
            EXPECT_STREQ(bext->originator_reference, ("REF-" + std::to_string(channels)).c_str());
        }
    }
}

TEST(WavInterop, WeReadWhatPeersWriteAsLibsndfileDoes)
{
    const std::string folder = TestSupport::makeTempFolder("peers");
    const std::string sine = " -n -r 44100 -c 2 ";
    const std::string synth = " synth 0.05 sine 440 sine 1234";
    const std::string lavfi = "ffmpeg -v error -y -f lavfi -i 'sine=frequency=440:sample_rate=48000:duration=0.05' ";
    struct Peer {
        const char* name;
        std::string command; // %1 is the output path
    };
    const Peer peers[] = {
        {"sox-u8", "sox -V1" + sine + "-e unsigned-integer -b 8 '%1'" + synth},
        {"sox-s16", "sox -V1" + sine + "-e signed-integer -b 16 '%1'" + synth},
        {"sox-s24", "sox -V1" + sine + "-e signed-integer -b 24 '%1'" + synth},
        {"sox-s32", "sox -V1" + sine + "-e signed-integer -b 32 '%1'" + synth},
        {"sox-f32", "sox -V1" + sine + "-e floating-point -b 32 '%1'" + synth},
        {"sox-6ch-extensible", "sox -V1 -n -r 44100 -c 6 -e signed-integer -b 24 '%1' synth 0.05 sine 440 sine 550 sine 660 "
                               "sine 770 sine 880 sine 990"},
        {"ffmpeg-info-before-data", lavfi + "-ac 2 -c:a pcm_s16le -metadata title=Hello -metadata artist=Someone '%1'"},
        {"ffmpeg-rf64", lavfi + "-ac 2 -c:a pcm_s24le -rf64 always '%1'"},
        {"ffmpeg-6ch-float", lavfi + "-ac 6 -c:a pcm_f32le '%1'"},
        {"ffmpeg-s32", lavfi + "-ac 1 -c:a pcm_s32le '%1'"},
        {"ffmpeg-u8-bext", lavfi + "-ac 1 -c:a pcm_u8 -write_bext 1 -metadata originator_reference=REF1 "
                                   "-metadata coding_history=abc '%1'"},
    };
    for (const auto& peer : peers) {
        const std::string path = folder + "/" + peer.name + ".wav";
        run(Util::format(peer.command, path));
        const Decoded theirs = readWithLibsndfile(path);
        const Decoded ours = readWithOurs(path);
        EXPECT_EQ(ours.channels, theirs.channels) << peer.name;
        EXPECT_EQ(ours.sampleRate, theirs.sampleRate) << peer.name;
        EXPECT_GT(ours.samples.size(), 1000u) << peer.name;
        EXPECT_EQ(ours.samples, theirs.samples) << peer.name;
    }
    Audio::Decode::WAV::Decoder bext(folder + "/ffmpeg-u8-bext.wav");
    ASSERT_TRUE(bext.Sync().ok());
    EXPECT_EQ(bext.GetOriginatorReference().value(), "REF1");
}

TEST(WavInterop, WeReadWhatLibsndfileWrites)
{
    const std::string folder = TestSupport::makeTempFolder("sndfile");
    struct Case {
        const char* name;
        int format;
        int channels;
        size_t frames;
        const char* title;
    };
    const Case cases[] = {
        {"u8-odd-data-with-info", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 777, "odd"}, // LIST before, pad after the data
        {"wavex-6ch-float-peak", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, 6, 500, nullptr},  // fact and PEAK before the data
        {"rf64-24", SF_FORMAT_RF64 | SF_FORMAT_PCM_24, 2, 600, nullptr},
        {"s16-stereo", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 1001, "Title"},
    };
    for (const auto& c : cases) {
        const std::string path = folder + "/" + c.name + ".wav";
        const auto signal = TestSupport::rampSignal(c.frames, size_t(c.channels), 0.0f);
        ASSERT_TRUE(SoundFile::writeInterleaved(path, c.channels, signal, {22050, c.format, c.title}));

        const Decoded ours = readWithOurs(path);
        EXPECT_EQ(ours.channels, uint32_t(c.channels)) << c.name;
        EXPECT_EQ(ours.samples.size(), c.frames * size_t(c.channels)) << c.name;
        EXPECT_EQ(ours.samples, readWithLibsndfile(path).samples) << c.name;
    }
}
