// Malformed and hostile WAV files: each named failure of the decoder with its
// exact message, and files that must be read despite odd sizes. The same cases
// live as files in tests/audio/corpus, the seed corpus of the decoder's fuzz
// target; the suite replays that corpus through the decoder.
#include <gtest/gtest.h>

#include "DecodeEverything.h"
#include "WavBytes.h"
#include "audio/WavDecoder.h"
#include "support/TestEnvironment.h"

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

using TestSupport::WavBytes;
using TestSupport::extensibleBody;
using TestSupport::formatBody;
using TestSupport::riffFile;
namespace fs = std::filesystem;

namespace {

struct BadFile {
    const char* name;
    WavBytes bytes;
    std::string syncMessage; // "" when it synchronises
};

const WavBytes kStereo16 = formatBody(1, 2, 44100, 16);
const WavBytes kFourFrames = WavBytes().u16(1).u16(2).u16(3).u16(4).u16(5).u16(6).u16(7).u16(8);

WavBytes ds64(uint32_t size, uint64_t dataSize)
{
    return WavBytes().text("ds64").u32(size).u64(0).u64(dataSize).u64(0).u32(0).zeros(size > 28 ? size - 28 : 0);
}

std::vector<BadFile> badFiles()
{
    const WavBytes data = WavBytes().chunk("data", kFourFrames);
    return {
        {"too-small", WavBytes().text("RIFF").u32(2).text("WA"), "File size too small to contain a valid RIFF header: 10 bytes"},
        {"empty", WavBytes(), "File size too small to contain a valid RIFF header: 0 bytes"},
        {"not-wave", WavBytes().text("RIFF").u32(4).text("AVI "), "Invalid RIFF header"},
        {"big-endian-riff", WavBytes().text("RIFX").u32(4).text("WAVE"), "Invalid RIFF header"},
        {"rf64-too-small", WavBytes().text("RF64").u32(0xFFFFFFFF).text("WAVE").text("ds64"),
         "File size too small to contain a valid RF64 header: 16 bytes"},
        {"rf64-without-ds64", riffFile(WavBytes().chunk("fmt ", kStereo16).append(data), "RF64"),
         "Invalid RF64 WAVE file: missing 'ds64' chunk"},
        {"rf64-ds64-too-small", riffFile(ds64(20, 16).chunk("fmt ", kStereo16).append(data), "RF64"),
         "Invalid RF64 WAVE file: invalid size of 'ds64' chunk"},
        {"rf64-ds64-too-large", riffFile(ds64(1026, 16).chunk("fmt ", kStereo16).append(data), "RF64"),
         "Invalid RF64 WAVE file: invalid size of 'ds64' chunk"},
        {"format-too-short", riffFile(WavBytes().chunk("fmt ", WavBytes().u16(1).u16(2).u32(44100).u32(0).u16(4)).append(data)),
         "Format chunk is 14 bytes, expected at least 16 bytes"},
        {"zero-channels", riffFile(WavBytes().chunk("fmt ", formatBody(1, 0, 44100, 16)).append(data)),
         "Bad number of channels: 0"},
        {"zero-sample-rate", riffFile(WavBytes().chunk("fmt ", formatBody(1, 2, 0, 16)).append(data)),
         "Bad sampling rate: 0"},
        {"pcm-12-bit", riffFile(WavBytes().chunk("fmt ", formatBody(1, 2, 44100, 12)).append(data)),
         "Unsupported bit depth / wave format combination: 12/1"},
        {"float-64-bit", riffFile(WavBytes().chunk("fmt ", formatBody(3, 2, 44100, 64)).append(data)),
         "Unsupported bit depth / wave format combination: 64/3"},
        {"float-16-bit", riffFile(WavBytes().chunk("fmt ", formatBody(3, 2, 44100, 16)).append(data)),
         "Unsupported bit depth / wave format combination: 16/3"},
        {"adpcm", riffFile(WavBytes().chunk("fmt ", formatBody(2, 2, 44100, 4)).append(data)), "Bad wave format tag: 2"},
        {"extensible-without-extension", riffFile(WavBytes().chunk("fmt ", formatBody(0xFFFE, 2, 44100, 16).u16(0)).append(data)),
         "Expected wave format extensible chunk, only 0 extra bytes"},
        {"extensible-claims-more-than-it-holds",
         riffFile(WavBytes().chunk("fmt ", formatBody(0xFFFE, 2, 44100, 16).u16(22).u16(16).u32(3)).append(data)),
         "Expected wave format extensible chunk, only 6 extra bytes"},
        {"extensible-unknown-guid", riffFile(WavBytes().chunk("fmt ", extensibleBody(2, 16, 3, 2)).append(data)),
         "Invalid wave format extensible subtype GUID 00000002-0000-0010-8000-00AA00389B71"},
        {"no-format", riffFile(data), "Didn't find 'format' chunk"},
        {"no-data", riffFile(WavBytes().chunk("fmt ", kStereo16)), "Didn't find 'data' chunk"},
        {"format-claims-gigabytes", riffFile(WavBytes().chunk("fmt ", 0x7FFFFFF0, kStereo16).append(data)),
         "Didn't find 'format' chunk"},
        {"chunk-claims-gigabytes-before-data",
         riffFile(WavBytes().chunk("fmt ", kStereo16).chunk("junk", 0xFFFFFFF0, WavBytes().zeros(4)).append(data)),
         "Didn't find 'data' chunk"},
        {"bext-too-small", riffFile(WavBytes().chunk("fmt ", kStereo16).chunk("bext", WavBytes().zeros(100)).append(data)),
         "Invalid size for BWF bext chunk"},
        {"data-before-format", riffFile(WavBytes().append(data).chunk("fmt ", kStereo16)), ""},
        {"data-past-the-end", riffFile(WavBytes().chunk("fmt ", kStereo16).chunk("data", 0x7FFFFFF0, kFourFrames)), ""},
        {"data-claims-4-gigabytes", riffFile(WavBytes().chunk("fmt ", kStereo16).chunk("data", 0xFFFFFFFF, kFourFrames)), ""},
        {"rf64", riffFile(ds64(28, 16).chunk("fmt ", kStereo16).chunk("data", 0xFFFFFFFF, kFourFrames), "RF64"), ""},
        {"rf64-data-claims-exabytes",
         riffFile(ds64(40, 1ull << 62).chunk("fmt ", kStereo16).chunk("data", 0xFFFFFFFF, kFourFrames), "RF64"), ""},
        {"odd-chunk-with-pad-before-data",
         riffFile(WavBytes().chunk("fmt ", kStereo16).chunk("odd ", WavBytes().text("abc")).append(data)), ""},
        {"odd-chunk-without-pad-at-the-end",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).text("odd ").u32(3).text("abc")), ""},
        {"trailing-bytes-after-the-last-chunk", riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).text("xyz")), ""},
        {"second-format-and-data-ignored",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).chunk("fmt ", formatBody(9, 1, 1, 1)).chunk("data", WavBytes().u8(1))),
         ""},
        {"extensible-64-bit-float", riffFile(WavBytes().chunk("fmt ", extensibleBody(1, 64, 4, 3)).append(data)), ""},
        {"extensible-0-bit", riffFile(WavBytes().chunk("fmt ", extensibleBody(1, 0, 4, 1)).append(data)), ""},
        {"65535-channels", riffFile(WavBytes().chunk("fmt ", formatBody(3, 0xFFFF, 48000, 32)).append(data)), ""},
        {"cue-count-disagrees-with-size",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).chunk("cue ", WavBytes().u32(2).zeros(24))), ""},
        {"cue-count-overflows",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).chunk("cue ", WavBytes().u32(0xAAAAAAAB).zeros(8))), ""},
        {"label-too-small",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).chunk("LIST", WavBytes().text("adtl").text("labl").u32(2).u16(1))), ""},
        {"labeled-text-too-small",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).chunk("LIST", WavBytes().text("adtl").text("ltxt").u32(8).zeros(8))), ""},
        {"list-sub-chunk-past-its-end",
         riffFile(WavBytes().chunk("fmt ", kStereo16).append(data).chunk("LIST", WavBytes().text("adtl").text("labl").u32(99).zeros(8))), ""},
    };
}

// Runs `action` with the address space capped at what the process uses now
// plus `headroom`: an allocation sized by a lying header then fails loudly.
template <typename Action>
void withAddressSpaceCap(size_t headroom, Action&& action)
{
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
    rlimit capped = old;
    capped.rlim_cur = pages * size_t(sysconf(_SC_PAGESIZE)) + headroom;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &capped), 0);
    try {
        action();
    } catch (const std::bad_alloc&) {
        ADD_FAILURE() << "an allocation larger than the file";
    }
    setrlimit(RLIMIT_AS, &old);
}

std::string writeTemp(const std::string& folder, const BadFile& file)
{
    const std::string path = folder + "/" + file.name + ".wav";
    std::ofstream(path, std::ios::binary) << file.bytes.str();
    return path;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(WavDecoderBadInput, EachMalformedFileFailsWithItsMessageAndNoneAllocatesBeyondIt)
{
    const std::string folder = TestSupport::makeTempFolder("bad");
    for (const auto& file : badFiles()) {
        const std::string path = writeTemp(folder, file);
        std::string message = "(not run)";
        withAddressSpaceCap(64 << 20, [&] { message = TestSupport::decodeEverything(path); });
        EXPECT_EQ(message, file.syncMessage) << file.name;
    }
}

TEST(WavDecoderBadInput, OddSizesAreReadAsFarAsTheFileGoes)
{
    const std::string folder = TestSupport::makeTempFolder("odd");
    struct Case {
        const char* name;
        uint64_t frames;
        bool truncated;
    };
    const Case cases[] = {
        {"data-before-format", 4, false},        {"data-past-the-end", 4, true},
        {"data-claims-4-gigabytes", 4, true},    {"rf64", 4, false},
        {"rf64-data-claims-exabytes", 4, true},  {"odd-chunk-with-pad-before-data", 4, false},
        {"second-format-and-data-ignored", 4, false}, {"65535-channels", 0, false},
    };
    const auto files = badFiles();
    for (const auto& c : cases) {
        const auto file = std::find_if(files.begin(), files.end(), [&](const BadFile& f) { return f.name == std::string(c.name); });
        ASSERT_NE(file, files.end()) << c.name;
        Audio::Decode::WAV::Decoder decoder(writeTemp(folder, *file));
        ASSERT_TRUE(decoder.Sync().ok()) << c.name;
        EXPECT_EQ(decoder.GetTotalFrames(), c.frames) << c.name;
        EXPECT_EQ(decoder.IsTruncated(), c.truncated) << c.name;
        if (c.frames == 4) {
            int16_t samples[8] = {};
            ASSERT_EQ(decoder.ReadInt16Interleaved(8, samples).value(), 4u);
            EXPECT_EQ(samples[7], 8) << c.name;
        }
    }
}

TEST(WavDecoderBadInput, MarkerChunksAreCheckedWhenRead)
{
    const std::string folder = TestSupport::makeTempFolder("markers");
    const std::map<std::string, std::string> expected = {
        {"cue-count-disagrees-with-size", "Invalid size for cue points"},
        {"cue-count-overflows", "Invalid size for cue points"},
        {"label-too-small", "Invalid size for label"},
        {"labeled-text-too-small", "Invalid size for labeled text"},
        {"list-sub-chunk-past-its-end", ""},
    };
    for (const auto& file : badFiles()) {
        const auto want = expected.find(file.name);
        if (want == expected.end())
            continue;
        Audio::Decode::WAV::Decoder decoder(writeTemp(folder, file));
        ASSERT_TRUE(decoder.Sync().ok()) << file.name;
        std::vector<Audio::Marker> markers;
        const auto status = decoder.GetMarkers(markers);
        EXPECT_EQ(status.ok() ? "" : status.error().Message(), want->second) << file.name;
    }
}

TEST(WavDecoderBadInput, AnExtensibleFormatWithoutAReadableDepthSynchronisesButDoesNotConvert)
{
    const std::string folder = TestSupport::makeTempFolder("ext64");
    for (const auto& file : badFiles()) {
        if (file.name != std::string("extensible-64-bit-float"))
            continue;
        const std::string path = writeTemp(folder, file);
        Audio::Decode::WAV::Decoder decoder(path);
        ASSERT_TRUE(decoder.Sync().ok());
        EXPECT_EQ(decoder.GetFormat().bytesPerSample, 8u);
        float out[4];
        EXPECT_EQ(decoder.ReadFloatInterleaved(1, out).error().Message(),
                  "ReadFloatInterleaved " + path + " called, unsupported conversion");
        uint8_t raw[8];
        EXPECT_EQ(decoder.ReadRawInterleaved(1, raw).value(), 1u);
    }
}

// The corpus holds these cases as files; it must not drift from them.
// RELAY_REGENERATE_CORPUS=1 rewrites it.
TEST(WavDecoderCorpus, HoldsEveryMalformedCase)
{
    const fs::path corpus = RELAY_WAV_CORPUS;
    const bool regenerate = std::getenv("RELAY_REGENERATE_CORPUS") != nullptr;
    if (regenerate)
        fs::create_directories(corpus);
    for (const auto& file : badFiles()) {
        const fs::path path = corpus / (std::string(file.name) + ".wav");
        if (regenerate)
            std::ofstream(path, std::ios::binary) << file.bytes.str();
        EXPECT_EQ(readFile(path.string()), file.bytes.str()) << path;
    }
}

// Every file of the corpus, including inputs the fuzzer found, goes through
// every read without a crash or an allocation larger than the file.
TEST(WavDecoderCorpus, ReplaysThroughTheDecoder)
{
    std::map<std::string, std::string> expected;
    for (const auto& file : badFiles())
        expected[std::string(file.name) + ".wav"] = file.syncMessage;
    size_t replayed = 0;
    for (const auto& entry : fs::directory_iterator(RELAY_WAV_CORPUS)) {
        std::string message = "(not run)";
        withAddressSpaceCap(64 << 20, [&] { message = TestSupport::decodeEverything(entry.path().string()); });
        const auto want = expected.find(entry.path().filename().string());
        if (want != expected.end()) {
            EXPECT_EQ(message, want->second) << entry.path();
        }
        ++replayed;
    }
    EXPECT_GE(replayed, expected.size());
}
