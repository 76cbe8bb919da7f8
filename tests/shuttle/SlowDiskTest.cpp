#include <gtest/gtest.h>

#include "ShuttleTestSupport.h"
#include "support/FakeClock.h"
#include "shuttle/FileHandler.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using TestSupport::SoundFile;
using Shuttle::FileHandler;

namespace {

float sampleAt(uint32_t channel, uint32_t frame) { return float(frame) / 65536.0f + float(channel); }

// Rings far smaller than a clip, and a disk thread that dawdles before every
// block it writes and every read ahead: the render runs much faster than the
// disk and must wait for it rather than lose or misplace a frame.
Shuttle::DiskOptions slowDisk()
{
    Shuttle::DiskOptions options;
    options.captureSamples = 4096;
    options.playbackSamples = 4096;
    options.records = 8;
    options.pace = [] { std::this_thread::sleep_for(std::chrono::microseconds(300)); };
    return options;
}

class SlowDiskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session = TestSupport::makeTempFolder("slow");
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        folder = session + "/Relay";
    }

    // Block sizes from 1 frame to more than the ring's largest span, so that
    // spans wrap, skip the ring's tail and split.
    std::vector<uint32_t> blockSizes(uint32_t total) const
    {
        std::mt19937 random(5);
        std::vector<uint32_t> sizes;
        for (uint32_t at = 0; at < total;) {
            const uint32_t size = std::min<uint32_t>(random() % 3000 + 1, total - at);
            sizes.push_back(size);
            at += size;
        }
        return sizes;
    }

    Platform::FakeClock clock{1000};
    FakeContext context;
    std::string session, folder;
};

} // namespace

TEST_F(SlowDiskTest, AnOfflineRenderFasterThanTheDiskCapturesEveryFrame)
{
    constexpr uint32_t Total = 60000;
    FileHandler handler(context, 11, nullptr, slowDisk());
    handler.setFormat(48000.0f, 1);
    std::vector<float> left(3000), right(3000);
    float* channels[2] = {left.data(), right.data()};
    uint32_t at = 0;
    for (const uint32_t size : blockSizes(Total)) {
        for (uint32_t i = 0; i < size; ++i) {
            left[i] = sampleAt(0, at + i);
            right[i] = sampleAt(1, at + i);
        }
        ASSERT_TRUE(handler.write(size, channels));
        at += size;
    }
    handler.closeCapture();
    handler.drain();
    EXPECT_FALSE(handler.playbackRingMade()) << "capturing made the playback ring";
    const auto clip = SoundFile::open(folder + "/Wavelab 1 [tw-relay] 1 captured.wav");
    ASSERT_TRUE(clip.ok()) << clip.error();
    ASSERT_EQ(clip.value().frames(), Total);
    const auto onDisk = clip.value().planar();
    for (uint32_t c = 0; c < 2; ++c)
        for (uint32_t i = 0; i < Total; ++i)
            ASSERT_EQ(onDisk[c][i], sampleAt(c, i)) << "channel " << c << ", frame " << i;
}

// Closes posted between blocks while the disk thread is busy with earlier
// blocks still end their passes between those blocks: the disk thread, once
// free, must not run on through the later blocks before the closes.
TEST_F(SlowDiskTest, ClosesQueuedBehindABusyDiskEndTheirOwnPasses)
{
    std::atomic<bool> diskBusy{false}, diskMayGoOn{false};
    Shuttle::DiskOptions options = slowDisk();
    options.pace = [&] {
        diskBusy = true;
        diskBusy.notify_all();
        diskMayGoOn.wait(false);
    };
    FileHandler handler(context, 11, nullptr, options); // a host whose every close ends the pass
    handler.setFormat(48000.0f, 1);
    int passesEnded = 0;
    handler.captureFinished.connect([&passesEnded] { ++passesEnded; });
    std::vector<float> left(256, 0.25f), right(256, -0.25f);
    float* channels[2] = {left.data(), right.data()};
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(handler.write(256, channels));
        diskBusy.wait(false); // the disk thread holds the first block
        ASSERT_TRUE(handler.write(256, channels));
        handler.closeCapture();
    }
    diskMayGoOn = true;
    diskMayGoOn.notify_all();
    handler.drain();
    EXPECT_EQ(passesEnded, 3);
}

TEST_F(SlowDiskTest, PlaybackStaysSampleExactWhenTheReadAheadFallsBehind)
{
    constexpr uint32_t Total = 60000;
    fs::create_directories(folder);
    std::vector<std::vector<float>> file(2, std::vector<float>(Total));
    for (uint32_t c = 0; c < 2; ++c)
        for (uint32_t i = 0; i < Total; ++i)
            file[c][i] = sampleAt(c, i);
    ASSERT_TRUE(SoundFile::writePlanar(folder + "/Wavelab 1 [tw-relay] 1 repaired.wav", file));
    FileHandler handler(context, 11, nullptr, slowDisk());
    handler.setFormat(48000.0f, 1);
    handler.drain();
    ASSERT_FALSE(handler.playbackRingMade()) << "made before anything was to be played";
    std::vector<float> left(3000), right(3000);
    float* channels[2] = {left.data(), right.data()};
    uint32_t at = 0;
    // The first read asks for the file: the disk thread makes the playback
    // ring while this side already waits for its first frames.
    for (const uint32_t size : blockSizes(Total + 5000)) {
        std::fill(left.begin(), left.end(), -7.0f);
        std::fill(right.begin(), right.end(), -7.0f);
        ASSERT_TRUE(handler.read(size, channels));
        for (uint32_t i = 0; i < size; ++i, ++at) {
            // Past the end of the file the block that reached it keeps the
            // host's audio; later blocks are silent.
            const float expected = at < Total ? sampleAt(0, at) : (at - i < Total ? -7.0f : 0.0f);
            ASSERT_EQ(left[i], expected) << "frame " << at;
            ASSERT_EQ(right[i], at < Total ? sampleAt(1, at) : (at - i < Total ? -7.0f : 0.0f)) << "frame " << at;
        }
    }
}

// The repaired file is cut short while it plays (the editor overwrites it,
// say): the frames read ahead before the cut still play, then the read that
// reaches the cut fails, and the log names the file and the reason.
TEST_F(SlowDiskTest, AFileCutShortWhilePlayingFailsWhereItEnds)
{
    constexpr uint32_t Total = 60000;
    fs::create_directories(folder);
    const std::string path = folder + "/Wavelab 1 [tw-relay] 1 repaired.wav";
    std::vector<std::vector<float>> file(2, std::vector<float>(Total));
    for (uint32_t c = 0; c < 2; ++c)
        for (uint32_t i = 0; i < Total; ++i)
            file[c][i] = sampleAt(c, i);
    ASSERT_TRUE(SoundFile::writePlanar(path, file));
    Util::Log::Capture log;
    FileHandler handler(context, 11, nullptr, slowDisk());
    handler.setFormat(48000.0f, 1);
    std::vector<float> left(512), right(512);
    float* channels[2] = {left.data(), right.data()};
    ASSERT_TRUE(handler.read(512, channels));
    fs::resize_file(path, 44 + 8 * 1000);
    uint32_t played = 512;
    while (played < Total && handler.read(512, channels)) {
        ASSERT_EQ(left[0], sampleAt(0, played)) << "frame " << played;
        played += 512;
    }
    EXPECT_LT(played, Total) << "the cut went unnoticed";
    handler.drain();
    EXPECT_TRUE(log.contains(path + " could not be read"));
}
