#include <gtest/gtest.h>

#include "Signals.h"
#include "WavBytes.h"
#include "audio/ChunkId.h"
#include "audio/WavDecoder.h"
#include "audio/WavEncoder.h"
#include "support/TestEnvironment.h"

#include <fstream>
#include <numeric>

using Audio::Format;
using Audio::Marker;
using Audio::Decode::WAV::Decoder;
using Audio::Encode::WAV::Encoder;
using TestSupport::WavBytes;

namespace {

std::string writeBytes(const WavBytes& bytes, const char* name = "in.wav")
{
    const std::string path = TestSupport::makeTempFolder("dec") + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes.str();
    return path;
}

std::string encode(const Format& format, const std::vector<float>& interleaved, const std::vector<Marker>& markers = {})
{
    const std::string path = TestSupport::makeTempFolder("rt") + "/ours.wav";
    Encoder encoder(path, format);
    EXPECT_TRUE(encoder.BeginWriting().ok());
    // The first half from channel pointers, the rest interleaved.
    const size_t channels = format.channels;
    const size_t frames = interleaved.size() / channels;
    const size_t half = frames / 2;
    std::vector<std::vector<float>> planes(channels, std::vector<float>(half));
    std::vector<const float*> pointers;
    for (size_t c = 0; c < channels; ++c) {
        for (size_t f = 0; f < half; ++f)
            planes[c][f] = interleaved[f * channels + c];
        pointers.push_back(planes[c].data());
    }
    EXPECT_TRUE(encoder.WriteFloatDeinterleaved(half, pointers.data()).ok());
    EXPECT_TRUE(encoder.WriteFloatInterleaved(frames - half, interleaved.data() + half * channels).ok());
    EXPECT_TRUE(encoder.WriteMarkers(markers).ok());
    EXPECT_TRUE(encoder.Finish().ok());
    return path;
}

} // namespace

TEST(WavDecoder, ReadsBackWhatTheEncoderWroteInEveryConversionAndBlockSize)
{
    const Format formats[] = {{1, 2, 44100, false, 0}, {2, 3, 48000, false, 0}, {2, 4, 48000, false, 0},
                              {2, 4, 96000, true, 0},  {6, 3, 48000, false, 0x3F}, {3, 4, 48000, true, 7}};
    for (const auto& format : formats) {
        const size_t channels = format.channels;
        const auto input = TestSupport::rampSignal(1001, channels);
        Decoder decoder(encode(format, input));
        const auto synced = decoder.Sync();
        ASSERT_TRUE(synced.ok()) << synced.error().Description();
        EXPECT_EQ(synced.value(), format);
        ASSERT_EQ(decoder.GetTotalFrames(), 1001u);

        std::vector<float> interleaved(input.size());
        for (size_t done = 0, block = 1; done < 1001; block = block * 3 + 1) {
            const auto got = decoder.ReadFloatInterleaved(block, interleaved.data() + done * channels);
            ASSERT_TRUE(got.ok());
            ASSERT_EQ(got.value(), std::min<size_t>(block, 1001 - done));
            done += got.value();
        }
        for (size_t i = 0; i < input.size(); ++i)
            ASSERT_EQ(interleaved[i], TestSupport::quantised(input[i], format.bytesPerSample, format.floatingPoint))
                << channels << "ch " << format.bytesPerSample << " bytes, sample " << i;

        ASSERT_TRUE(decoder.Seek(0).ok());
        std::vector<std::vector<float>> planes(channels, std::vector<float>(1001));
        std::vector<float*> pointers;
        for (auto& plane : planes)
            pointers.push_back(plane.data());
        ASSERT_EQ(decoder.ReadFloatDeinterleaved(1001, pointers.data()).value(), 1001u);
        for (size_t f = 0; f < 1001; ++f)
            for (size_t c = 0; c < channels; ++c)
                ASSERT_EQ(planes[c][f], interleaved[f * channels + c]);

        ASSERT_TRUE(decoder.Seek(500).ok());
        std::vector<double> doubles(channels);
        ASSERT_EQ(decoder.ReadDoubleInterleaved(1, doubles.data()).value(), 1u);
        for (size_t c = 0; c < channels; ++c)
            EXPECT_EQ(float(doubles[c]), interleaved[500 * channels + c]);
    }
}

TEST(WavDecoder, EightBitSamplesAreOffsetBinary)
{
    const std::string path = writeBytes(TestSupport::riffFile(
        WavBytes().chunk("fmt ", TestSupport::formatBody(1, 1, 8000, 8)).chunk("data", WavBytes().u8(0).u8(128).u8(255))));
    Decoder decoder(path);
    ASSERT_TRUE(decoder.Sync().ok());
    float out[3];
    ASSERT_EQ(decoder.ReadFloatInterleaved(3, out).value(), 3u);
    EXPECT_EQ(out[0], -1.0f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_EQ(out[2], 0.9921875f);
    ASSERT_TRUE(decoder.Seek(0).ok());
    double d[3];
    EXPECT_EQ(decoder.ReadDoubleInterleaved(3, d).error().Message(),
              "ReadFloatInterleaved " + path + " called, unsupported conversion");
}

TEST(WavDecoder, ReadsStopAtTheEndAndSeeksStayInside)
{
    const std::string path = writeBytes(TestSupport::riffFile(
        WavBytes().chunk("fmt ", TestSupport::formatBody(1, 2, 44100, 16)).chunk("data", WavBytes().zeros(1000))));
    Decoder decoder(path);
    EXPECT_EQ(decoder.GetFramesRemaining(), 0u);
    EXPECT_TRUE(decoder.Seek(0).ok()); // the current frame: nothing to do
    EXPECT_EQ(decoder.Seek(5).error().Message(), "Seek to 5 when not sync'd");
    ASSERT_TRUE(decoder.Sync().ok());
    EXPECT_EQ(decoder.GetTotalFrames(), 250u);
    std::vector<int16_t> out(600);
    EXPECT_EQ(decoder.ReadInt16Interleaved(300, out.data()).value(), 250u);
    EXPECT_EQ(decoder.ReadInt16Interleaved(300, out.data()).value(), 0u);
    EXPECT_EQ(decoder.Seek(251).error().Message(), "Seek to 251, total sample frames 250");
    EXPECT_TRUE(decoder.Seek(250).ok());
    ASSERT_TRUE(decoder.Seek(100).ok());
    EXPECT_EQ(decoder.GetFramesRemaining(), 150u);
    EXPECT_EQ(decoder.GetPosition(), 100u);
}

TEST(WavDecoder, EveryReadBeforeSyncSaysSo)
{
    const std::string path = TestSupport::sandboxFolder() + "/never-opened.wav";
    Decoder decoder(path);
    float f[2];
    float* fp[] = {f};
    int16_t s[2];
    int16_t* sp[] = {s};
    const std::pair<std::string, std::string> cases[] = {
        {decoder.ReadFloatInterleaved(1, f).error().Message(), "ReadFloatInterleaved %1 when not sync'd"},
        {decoder.ReadFloatDeinterleaved(1, fp).error().Message(), "ReadFloatDeinterleaved %1 when not sync'd"},
        {decoder.ReadInt16Interleaved(1, s).error().Message(), "ReadInt16Interleaved %1 when not sync'd"},
        {decoder.ReadInt16Deinterleaved(1, sp).error().Message(), "ReadInt16Deinterleaved %1 when not sync'd"},
        {decoder.ReadRawInterleaved(1, s).error().Message(), "ReadRawInterleaved %1 when not sync'd"},
        {decoder.GetOriginatorReference().error().Message(), "GetOriginatorReference %1 when not sync'd"},
    };
    for (const auto& [message, pattern] : cases)
        EXPECT_EQ(message, Util::format(pattern, path));
    const auto missing = decoder.Sync();
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().Is<Util::File::Error>());
    EXPECT_EQ(missing.error().Message(), "Error opening file");
}

TEST(WavDecoder, SixteenBitOutputComesOnlyFromSixteenBitFiles)
{
    const std::string path = encode({2, 3, 48000, false, 0}, TestSupport::rampSignal(10, 2));
    Decoder decoder(path);
    ASSERT_TRUE(decoder.Sync().ok());
    int16_t s[20];
    int16_t* sp[] = {s, s + 10};
    const std::string expected = "ReadInt16Interleaved " + path + " called, unsupported conversion";
    EXPECT_EQ(decoder.ReadInt16Interleaved(10, s).error().Message(), expected);
    EXPECT_EQ(decoder.ReadInt16Deinterleaved(10, sp).error().Message(), expected);
    EXPECT_EQ(decoder.GetPosition(), 0u);
}

TEST(WavDecoder, AFailedSyncCanBeRetriedAndCloseForgetsTheFile)
{
    const std::string path = writeBytes(TestSupport::riffFile(WavBytes().chunk("fmt ", TestSupport::formatBody(1, 1, 8000, 8))));
    Decoder decoder(path);
    EXPECT_EQ(decoder.Sync().error().Message(), "Didn't find 'data' chunk");
    std::ofstream(path, std::ios::binary | std::ios::app) << WavBytes().chunk("data", WavBytes().u8(200)).str();
    std::ofstream(path, std::ios::binary | std::ios::in | std::ios::out).seekp(4) << WavBytes().u32(4 + 24 + 10).str();
    ASSERT_TRUE(decoder.Sync().ok());
    EXPECT_EQ(decoder.GetTotalFrames(), 1u);
    Format again;
    EXPECT_TRUE(decoder.Sync(again).ok());
    EXPECT_EQ(again.bytesPerSample, 1u);
    decoder.Close();
    float f;
    EXPECT_FALSE(decoder.ReadFloatInterleaved(1, &f).ok());
    EXPECT_EQ(decoder.GetFramesRemaining(), 0u);
}

TEST(WavDecoder, MarkersComeBackAsTheEncoderWroteThem)
{
    const std::vector<Marker> markers = {
        {0, 0, false, "start", ""}, {100, 199, true, "chorus", "take two"}, {300, 300, false, "", "odd"}, {400, 400, false, "", ""}};
    Decoder decoder(encode({2, 2, 44100, false, 0}, TestSupport::rampSignal(500, 2), markers));
    ASSERT_TRUE(decoder.Sync().ok());
    std::vector<Marker> read;
    ASSERT_TRUE(decoder.GetMarkers(read).ok());
    EXPECT_EQ(read, markers);
}

TEST(WavDecoder, OtherChunksAreListedInFileOrderAndBextIsKept)
{
    std::vector<uint8_t> bext(603, 0);
    const std::string reference = "TW6Relay-0042";
    std::copy(reference.begin(), reference.end(), bext.begin() + 288);
    const std::string path = TestSupport::makeTempFolder("chunks") + "/clip.wav";
    {
        Encoder encoder(path, {2, 4, 48000, true, 0});
        ASSERT_TRUE(encoder.BeginWriting().ok());
        const auto samples = TestSupport::rampSignal(64, 2);
        ASSERT_TRUE(encoder.WriteFloatInterleaved(64, samples.data()).ok());
        ASSERT_TRUE(encoder.WriteChunk("bext", bext).ok());
        ASSERT_TRUE(encoder.WriteChunk("abcd", 3, "xyz").ok());
        ASSERT_TRUE(encoder.Finish().ok());
    }
    Decoder decoder(path);
    ASSERT_TRUE(decoder.Sync().ok());
    ASSERT_EQ(decoder.GetChunkCount(), 2u);
    EXPECT_EQ(decoder.GetChunkInfo(0)->id, Audio::chunkId("bext"));
    EXPECT_TRUE(decoder.GetChunkInfo(0)->kept);
    EXPECT_EQ(decoder.GetChunkInfo(1)->id, Audio::chunkId("abcd"));
    EXPECT_FALSE(decoder.GetChunkInfo(1)->kept);
    EXPECT_FALSE(decoder.GetChunkInfo(2).has_value());
    EXPECT_TRUE(decoder.HasChunk(Audio::chunkId("abcd")));
    EXPECT_FALSE(decoder.HasChunk(Audio::chunkId("cue ")));
    EXPECT_EQ(decoder.GetOriginatorReference().value(), reference);

    ASSERT_TRUE(decoder.Seek(10).ok());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(decoder.ReadChunk(1, bytes).ok());
    EXPECT_EQ(bytes, (std::vector<uint8_t>{'x', 'y', 'z'}));
    ASSERT_TRUE(decoder.ReadChunkById("bext", bytes).value());
    EXPECT_EQ(bytes, bext);
    EXPECT_FALSE(decoder.ReadChunkById("none", bytes).value());
    EXPECT_EQ(decoder.ReadChunk(7, bytes).error().Message(), "No chunk with index 7");
    // Chunk reads leave the sample position where it was.
    float frame[2];
    ASSERT_EQ(decoder.ReadFloatInterleaved(1, frame).value(), 1u);
    EXPECT_EQ(frame[0], TestSupport::rampSignal(64, 2)[20]);
}

TEST(WavDecoder, SampleReadsAllocateNothingAfterSync)
{
    const Format formats[] = {{2, 4, 48000, true, 0}, {2, 3, 48000, false, 0}, {6, 2, 48000, false, 0x3F}};
    for (const auto& format : formats) {
        Decoder decoder(encode(format, TestSupport::rampSignal(20000, format.channels)));
        ASSERT_TRUE(decoder.Sync().ok());
        std::vector<float> planes(6 * 20000), interleaved(6 * 20000);
        std::vector<float*> pointers;
        for (size_t c = 0; c < format.channels; ++c)
            pointers.push_back(planes.data() + c * 20000);
        const auto before = TestSupport::threadAllocationCount();
        for (int block = 0; block < 10; ++block)
            ASSERT_TRUE(decoder.ReadFloatDeinterleaved(512, pointers.data()).ok());
        ASSERT_TRUE(decoder.ReadFloatInterleaved(9000, interleaved.data()).ok()); // several conversion blocks
        ASSERT_TRUE(decoder.Seek(3).ok());
        EXPECT_EQ(TestSupport::threadAllocationCount(), before) << format.bytesPerSample << " bytes";
    }
}

// Converting reads run ahead of the sample position by up to a window of raw
// frames; every other operation must still see the file where the samples are.
TEST(WavDecoder, MixedReadsChunkReadsAndSeeksKeepTheirPlaceAcrossTheReadAheadWindow)
{
    constexpr size_t Frames = 100000; // several windows in either format
    for (const Format format : {Format{2, 4, 48000, true, 0}, Format{2, 3, 48000, false, 0}}) {
        const std::string path = TestSupport::makeTempFolder("window") + "/clip.wav";
        const auto input = TestSupport::rampSignal(Frames, 2);
        {
            Encoder encoder(path, format);
            ASSERT_TRUE(encoder.BeginWriting().ok());
            ASSERT_TRUE(encoder.WriteFloatInterleaved(Frames, input.data()).ok());
            ASSERT_TRUE(encoder.WriteChunk("abcd", 3, "xyz").ok());
            ASSERT_TRUE(encoder.Finish().ok());
        }
        std::vector<float> expected(input.size());
        {
            Decoder whole(path);
            ASSERT_TRUE(whole.Sync().ok());
            ASSERT_EQ(whole.ReadFloatInterleaved(Frames, expected.data()).value(), Frames);
        }

        Decoder decoder(path);
        ASSERT_TRUE(decoder.Sync().ok());
        std::vector<float> left(Frames), right(Frames);
        auto readPlanes = [&](size_t frames) {
            const size_t at = decoder.GetPosition();
            float* planes[2] = {left.data() + at, right.data() + at};
            ASSERT_EQ(decoder.ReadFloatDeinterleaved(frames, planes).value(), frames);
            for (size_t f = at; f < at + frames; ++f)
                ASSERT_TRUE(left[f] == expected[2 * f] && right[f] == expected[2 * f + 1])
                    << format.bytesPerSample << " bytes, frame " << f;
        };
        auto readInterleavedFloats = [&](size_t frames) {
            const size_t at = decoder.GetPosition();
            std::vector<float> got(2 * frames);
            ASSERT_EQ(decoder.ReadFloatInterleaved(frames, got.data()).value(), frames);
            for (size_t i = 0; i < got.size(); ++i)
                ASSERT_EQ(got[i], expected[2 * at + i]) << format.bytesPerSample << " bytes, sample " << 2 * at + i;
        };
        std::vector<uint8_t> chunk;

        readPlanes(100);
        ASSERT_TRUE(decoder.ReadChunk(0, chunk).ok()); // the file moves to the chunk and back
        EXPECT_EQ(chunk, (std::vector<uint8_t>{'x', 'y', 'z'}));
        readPlanes(100);
        readInterleavedFloats(10); // straight from the file for floats, converted for 24-bit
        readPlanes(40000);         // across the end of the first window
        ASSERT_TRUE(decoder.Seek(decoder.GetPosition()).ok());
        readPlanes(7);
        ASSERT_TRUE(decoder.Seek(50).ok()); // back, inside what was read ahead before
        readPlanes(500);
        ASSERT_TRUE(decoder.Seek(99000).ok());
        readPlanes(1000);
        EXPECT_EQ(decoder.GetFramesRemaining(), 0u);
    }
}
