#include <gtest/gtest.h>

#include "WavBytes.h"
#include "audio/ChunkId.h"
#include "audio/WavEncoder.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

using Audio::Format;
using Audio::Marker;
using Audio::Encode::WAV::Encoder;
using TestSupport::WavBytes;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string tempWav(const char* name) { return TestSupport::makeTempFolder("enc") + "/" + name; }

// The bytes of a whole file written by `write` into a fresh encoder.
template <typename Write>
std::string encodeToBytes(const Format& format, Write&& write)
{
    const std::string path = tempWav("out.wav");
    {
        Encoder encoder(path, format);
        EXPECT_TRUE(encoder.BeginWriting().ok());
        write(encoder);
        EXPECT_TRUE(encoder.Finish().ok());
    }
    return readFile(path);
}

uint32_t u32At(const std::string& bytes, size_t at)
{
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
}

} // namespace

TEST(WavEncoder, StereoFloatHasThePlain44ByteHeader)
{
    const float left[] = {0.5f, -1.0f};
    const float right[] = {0.25f, 2.0f};
    const float* channels[] = {left, right};
    const std::string file = encodeToBytes({2, 4, 48000, true, 0},
                                           [&](Encoder& e) { ASSERT_TRUE(e.WriteFloatDeinterleaved(2, channels).ok()); });
    const std::string expected = TestSupport::riffFile(WavBytes()
                                                           .chunk("fmt ", TestSupport::formatBody(3, 2, 48000, 32))
                                                           .text("data").u32(16)
                                                           .u32(0x3F000000).u32(0x3E800000)   // 0.5, 0.25
                                                           .u32(0xBF800000).u32(0x40000000))  // -1.0, 2.0 (floats are copied)
                                     .str();
    EXPECT_EQ(file, expected);
    EXPECT_EQ(u32At(file, 28), 4u * 2 * 48000); // byte rate
}

TEST(WavEncoder, SixChannel24BitUsesTheExtensibleHeader)
{
    std::vector<float> frame(6, 0.0f);
    const std::string file = encodeToBytes({6, 3, 48000, false, 0x3F},
                                           [&](Encoder& e) { ASSERT_TRUE(e.WriteFloatInterleaved(1, frame.data()).ok()); });
    const std::string expected =
        TestSupport::riffFile(WavBytes()
                                  .chunk("fmt ", TestSupport::extensibleBody(6, 24, 0x3F, 1))
                                  .chunk("data", WavBytes().zeros(18)))
            .str();
    EXPECT_EQ(file, expected);
    EXPECT_EQ(file.size(), 68u + 18u);
}

TEST(WavEncoder, HeaderKindFollowsChannelsAndSampleType)
{
    struct Case {
        Format format;
        bool extensible;
    };
    const Case cases[] = {
        {{1, 1, 8000, false, 0}, false}, {{2, 2, 44100, false, 0}, false}, {{2, 2, 44100, true, 0}, false},
        {{2, 3, 44100, false, 0}, false}, {{2, 3, 44100, true, 0}, true},  {{2, 4, 44100, false, 0}, false},
        {{2, 8, 44100, true, 0}, true},   {{3, 2, 44100, false, 0}, true},  {{1, 8, 44100, false, 0}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Encoder::UsesExtensibleFormat(c.format), c.extensible)
            << c.format.channels << "ch " << c.format.bytesPerSample << " bytes float=" << c.format.floatingPoint;
}

TEST(WavEncoder, OddDataGetsAPadByteThatTheSizesDoNotCount)
{
    const float samples[] = {0.0f, 0.5f, -0.5f};
    const std::string file = encodeToBytes({1, 3, 44100, false, 0},
                                           [&](Encoder& e) { ASSERT_TRUE(e.WriteFloatInterleaved(3, samples).ok()); });
    ASSERT_EQ(file.size(), 44u + 9 + 1);
    EXPECT_EQ(u32At(file, 40), 9u);                         // data size
    EXPECT_EQ(u32At(file, 4), uint32_t(file.size() - 8));   // RIFF size of the even file
    EXPECT_EQ(file.back(), '\0');
}

TEST(WavEncoder, FloatsBecomeIntegersWithRoundingAndSaturation)
{
    struct Case {
        uint32_t bytes;
        float value;
        int64_t stored;
    };
    const Case cases[] = {
        {2, 0.0f, 0},           {2, 1.0f, 32767},         {2, -1.0f, -32768},      {2, 2.0f, 32767},
        {2, -3.0f, -32768},     {2, 0.5f, 16384},         {2, 1.5f / 32768, 2},    {2, 2.5f / 32768, 2},
        {2, -1.5f / 32768, -2}, {2, NAN, 0},
        {3, 1.0f, 8388607},     {3, -1.0f, -8388608},     {3, 0.5f, 4194304},      {3, 7.0f, 8388607},
        {3, 0.5f / 8388608, 1}, {3, -0.5f / 8388608, -1}, {3, 1.5f / 8388608, 2},  {3, 2.5f / 8388608, 3},
        {4, 1.0f, 2147483647},  {4, -1.0f, -2147483648LL}, {4, 0.25f, 536870912}, {4, -9.0f, -2147483648LL},
    };
    for (const auto& c : cases) {
        const std::string file = encodeToBytes({1, c.bytes, 8000, false, 0},
                                               [&](Encoder& e) { ASSERT_TRUE(e.WriteFloatInterleaved(1, &c.value).ok()); });
        int64_t stored = 0;
        for (uint32_t i = 0; i < c.bytes; ++i)
            stored |= int64_t(uint8_t(file[44 + i])) << (8 * i);
        const int64_t sign = int64_t(1) << (8 * c.bytes - 1);
        stored = (stored ^ sign) - sign;
        EXPECT_EQ(stored, c.stored) << c.bytes << " bytes, value " << c.value;
    }
}

TEST(WavEncoder, DoublesConvertLikeFloatsAndCanStayDoubles)
{
    const double samples[] = {0.5, -1.0, 1.5 / 32768};
    const std::string sixteen = encodeToBytes({1, 2, 8000, false, 0},
                                              [&](Encoder& e) { ASSERT_TRUE(e.WriteDoubleInterleaved(3, samples).ok()); });
    EXPECT_EQ(sixteen.substr(44), WavBytes().u16(16384).u16(0x8000).u16(2).str());
    const double* channel[] = {samples};
    const std::string doubles = encodeToBytes({1, 8, 8000, true, 0},
                                              [&](Encoder& e) { ASSERT_TRUE(e.WriteDoubleDeinterleaved(3, channel).ok()); });
    EXPECT_EQ(doubles.substr(68, 8), WavBytes().u64(0x3FE0000000000000ull).str());
}

TEST(WavEncoder, RefusedWritesSayWhy)
{
    const std::string path = tempWav("refused.wav");
    const float sample = 0.0f;
    struct Case {
        Format format;
        std::string message;
    };
    const Case cases[] = {
        {{1, 1, 8000, false, 0}, "WriteFloatInterleaved 1 called with unsupported bytes per sample / floating-point: 1/0"},
        {{1, 8, 8000, true, 0}, "WriteFloatInterleaved 1 called with unsupported bytes per sample / floating-point: 8/1"},
        {{1, 3, 8000, true, 0}, "WriteFloatInterleaved 1 called with unsupported bytes per sample / floating-point: 3/1"},
    };
    for (const auto& c : cases) {
        Encoder encoder(path, c.format);
        ASSERT_TRUE(encoder.BeginWriting().ok());
        const auto status = encoder.WriteFloatInterleaved(1, &sample);
        ASSERT_FALSE(status.ok());
        EXPECT_TRUE(status.error().Is<Audio::Encode::EncodeError>());
        EXPECT_EQ(status.error().Category(), "Audio::Encode::EncodeError");
        EXPECT_EQ(status.error().Message(), c.message);
    }

    Encoder encoder(path, {1, 2, 8000, false, 0});
    ASSERT_TRUE(encoder.BeginWriting().ok());
    ASSERT_TRUE(encoder.WriteFloatInterleaved(1, &sample).ok());
    ASSERT_TRUE(encoder.WriteChunk("junk", 2, "ab").ok());
    const auto late = encoder.WriteFloatInterleaved(1, &sample);
    ASSERT_FALSE(late.ok());
    EXPECT_EQ(late.error().Message(), "Write called after we finished writing our data chunk");
    ASSERT_TRUE(encoder.Finish().ok());
    EXPECT_EQ(encoder.WriteRawInterleaved(1, "xx").error().Message(),
              "Write called after we finished writing our data chunk");

    Encoder unopened(tempWav("never.wav"), {1, 2, 8000, false, 0});
    const auto closed = unopened.WriteFloatInterleaved(1, &sample);
    ASSERT_FALSE(closed.ok());
    EXPECT_TRUE(closed.error().Is<Util::File::Error>());
    EXPECT_EQ(closed.error().Message(), "Attempt to write 8 bytes when not open");

    Encoder nowhere(TestSupport::sandboxFolder() + "/missing/folder/x.wav", {1, 2, 8000, false, 0});
    EXPECT_EQ(nowhere.BeginWriting().error().Message(), "Error opening file");
}

TEST(WavEncoder, MarkersWriteCueAndAssociatedDataChunks)
{
    const std::vector<Marker> markers = {{10, 10, false, "ab", ""}, {20, 29, true, "abc", "n"}, {5, 4, true, "", ""}};
    const std::string file = encodeToBytes({1, 2, 8000, false, 0}, [&](Encoder& e) {
        const float s = 0;
        ASSERT_TRUE(e.WriteFloatInterleaved(1, &s).ok());
        ASSERT_TRUE(e.WriteMarkers(markers).ok());
    });
    WavBytes cue;
    cue.u32(3);
    for (uint32_t i = 0; i < 3; ++i)
        cue.u32(i + 1).u32(markers[i].startFrame).text("data").u32(0).u32(0).u32(markers[i].startFrame);
    const WavBytes list = WavBytes()
                              .text("adtl")
                              .text("labl").u32(8).u32(1).text("ab").u8(0).u8(0)
                              .text("ltxt").u32(20).u32(2).u32(10).text("rgn ").u16(0).u16(0).u16(0).u16(0)
                              .text("labl").u32(8).u32(2).text("abc").u8(0)
                              .text("note").u32(6).u32(2).text("n").u8(0);
    const std::string expected = WavBytes().chunk("cue ", cue).chunk("LIST", list).str();
    EXPECT_EQ(file.substr(44 + 2), expected);
    EXPECT_EQ(u32At(file, 44 + 2 + 4), 24u * 3 + 4);
}

TEST(WavEncoder, OneTwoCharacterLabelGivesTheDocumentedSizes)
{
    const std::string file = encodeToBytes({1, 2, 8000, false, 0}, [&](Encoder& e) {
        ASSERT_TRUE(e.WriteMarkers({{0, 0, false, "hi", ""}}).ok());
    });
    // Header with an empty data chunk, then "cue " (28) and "LIST" (20).
    ASSERT_EQ(file.size(), 44u + 8 + 28 + 8 + 20);
    EXPECT_EQ(u32At(file, 40), 0u);
    EXPECT_EQ(u32At(file, 48), 28u);
    EXPECT_EQ(u32At(file, 84), 20u);
    EXPECT_EQ(u32At(file, 96), 8u); // "labl" size, pad byte included
}

TEST(WavEncoder, ChunksAfterTheDataArePaddedAndTheSizesPatched)
{
    const std::string file = encodeToBytes({2, 2, 8000, false, 0}, [&](Encoder& e) {
        const int16_t raw[] = {1, -1, 2, -2};
        ASSERT_TRUE(e.WriteRawInterleaved(2, raw).ok());
        ASSERT_TRUE(e.WriteChunk(Audio::chunkId("bext"), 3, "xyz").ok());
        ASSERT_TRUE(e.WriteChunk("id3 ", std::vector<uint8_t>{7, 8}).ok());
    });
    const std::string tail = WavBytes()
                                 .chunk("data", WavBytes().u16(1).u16(0xFFFF).u16(2).u16(0xFFFE))
                                 .chunk("bext", WavBytes().text("xyz"))
                                 .chunk("id3 ", WavBytes().u8(7).u8(8))
                                 .str();
    EXPECT_EQ(file.substr(36), tail);
    EXPECT_EQ(u32At(file, 4), uint32_t(file.size() - 8));
}

TEST(WavEncoder, AFileFinishedWithoutSamplesIsTheHeaderAlone)
{
    const std::string file = encodeToBytes({2, 4, 48000, true, 0}, [](Encoder&) {});
    ASSERT_EQ(file.size(), 36u);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(u32At(file, 4), 28u);
    EXPECT_EQ(file.substr(12, 4), "fmt ");
}

TEST(WavEncoder, AnEmptyMarkerListStillWritesItsTwoChunks)
{
    const std::string file = encodeToBytes({1, 2, 8000, false, 0}, [](Encoder& e) {
        const float s[] = {0.5f, 0.5f};
        ASSERT_TRUE(e.WriteFloatInterleaved(2, s).ok());
        ASSERT_TRUE(e.WriteMarkers({}).ok());
    });
    const std::string chunks = WavBytes().text("cue ").u32(4).u32(0).text("LIST").u32(4).text("adtl").str();
    ASSERT_GE(file.size(), 48u + chunks.size());
    EXPECT_EQ(file.substr(48), chunks);
    EXPECT_EQ(u32At(file, 4), uint32_t(file.size() - 8));
}

TEST(WavEncoder, TheDestructorFinishesAnOpenFile)
{
    const std::string path = tempWav("dropped.wav");
    {
        Encoder encoder(path, {1, 2, 8000, false, 0});
        ASSERT_TRUE(encoder.BeginWriting().ok());
        const float s[] = {0.5f, 0.5f};
        ASSERT_TRUE(encoder.WriteFloatInterleaved(2, s).ok());
    }
    const std::string file = readFile(path);
    EXPECT_EQ(u32At(file, 40), 4u);
    EXPECT_EQ(u32At(file, 4), 40u);
}

TEST(WavEncoder, SampleWritesAllocateNothingAfterBeginWriting)
{
    struct Case {
        Format format;
    };
    const Format formats[] = {{2, 4, 48000, true, 0}, {2, 3, 48000, false, 0}, {6, 2, 48000, false, 0x3F}};
    std::vector<float> left(5000, 0.25f), right(5000, -0.25f), interleaved(6 * 5000, 0.1f);
    std::vector<const float*> channels(6, left.data());
    channels[1] = right.data();
    for (const auto& format : formats) {
        Encoder encoder(tempWav("rt.wav"), format);
        ASSERT_TRUE(encoder.BeginWriting().ok());
        ASSERT_TRUE(encoder.WriteFloatDeinterleaved(512, channels.data()).ok()); // the first write opens the data chunk
        const auto before = TestSupport::threadAllocationCount();
        for (int block = 0; block < 20; ++block) {
            ASSERT_TRUE(encoder.WriteFloatDeinterleaved(512, channels.data()).ok());
            ASSERT_TRUE(encoder.WriteFloatInterleaved(300, interleaved.data()).ok());
        }
        ASSERT_TRUE(encoder.WriteFloatDeinterleaved(5000, channels.data()).ok()); // larger than one block
        EXPECT_EQ(TestSupport::threadAllocationCount(), before) << format.channels << " channels";
        EXPECT_EQ(encoder.GetFramesWritten(), 512u + 20 * 812 + 5000);
    }
}

// After a failed write, the bytes still in the stream buffer never reach the
// disk. Salvage keeps exactly the whole frames that did (here: what the buffer
// flushed before it stopped) and leaves a file that libsndfile reads without
// complaint, with the sizes patched to those frames and the pad byte of an odd
// data size in place.
TEST(WavEncoder, SalvageKeepsTheWholeFramesOnDiskAndPatchesTheSizes)
{
    const Format formats[] = {{2, 4, 48000, true, 0}, {1, 3, 44100, false, 0}};
    for (const auto& format : formats) {
        const std::string path = tempWav("salvaged.wav");
        constexpr size_t kFrames = 100000; // well beyond one stream buffer
        std::vector<float> ramp(kFrames * format.channels);
        for (size_t i = 0; i < ramp.size(); ++i)
            ramp[i] = float(i % 1000) / 2000.0f;
        Encoder encoder(path, format);
        ASSERT_TRUE(encoder.BeginWriting().ok());
        ASSERT_TRUE(encoder.WriteFloatInterleaved(kFrames, ramp.data()).ok());
        const auto kept = encoder.Salvage();
        ASSERT_TRUE(kept.ok()) << kept.error().Description();
        EXPECT_GT(kept.value(), 0u);
        EXPECT_LT(kept.value(), kFrames) << "the buffered tail must be dropped, not written";

        const std::string file = readFile(path);
        const uint64_t dataBytes = kept.value() * format.BytesPerFrame();
        EXPECT_EQ(file.size(), 44 + dataBytes + dataBytes % 2) << format.bytesPerSample;
        EXPECT_EQ(u32At(file, 4), uint32_t(file.size() - 8));
        EXPECT_EQ(u32At(file, 40), uint32_t(dataBytes));
        const auto salvaged = TestSupport::SoundFile::open(path);
        ASSERT_TRUE(salvaged.ok()) << salvaged.error();
        EXPECT_EQ(uint64_t(salvaged.value().frames()), kept.value());
        const std::vector<float> back = salvaged.value().interleaved();
        EXPECT_EQ(back.size(), size_t(salvaged.value().frames()) * format.channels);
        const float tolerance = format.floatingPoint ? 0.0f : 1.0f / 4194304.0f;
        for (size_t i = 0; i < back.size(); i += 97)
            ASSERT_NEAR(back[i], ramp[i], tolerance) << i;
    }
}
