#include <gtest/gtest.h>

#include "ShuttleTestSupport.h"
#include "support/FakeClock.h"
#include "shuttle/FileHandler.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;
using TestSupport::SoundFile;
using Shuttle::FileHandler;

namespace {

class FileHandlerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session = TestSupport::makeTempFolder("session");
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        folder = session + "/Relay";
    }

    std::unique_ptr<FileHandler> make(uint32_t host)
    {
        auto handler = std::make_unique<FileHandler>(context, host);
        handler->setFormat(48000.0f, 1);
        handler->captureFinished.connect([this] { ++captures; });
        handler->playbackFinished.connect([this] { ++playbacks; });
        return handler;
    }

    void writeClip(FileHandler& h, uint32_t blocks, float base = 0.0f)
    {
        for (uint32_t b = 0; b < blocks; ++b) {
            TestBlock block(2, 256, base + float(b));
            ASSERT_TRUE(h.write(256, block.data()));
        }
    }

    std::string path(const std::string& name) const { return folder + "/" + name; }
    void touch(const std::string& name) const
    {
        fs::create_directories(folder);
        std::ofstream(path(name)) << "x";
    }

    Platform::FakeClock clock{5000};
    FakeContext context;
    std::string session, folder;
    int captures = 0, playbacks = 0;
};

} // namespace

TEST_F(FileHandlerTest, SilentCloseHostKeepsOnePassAcrossTwoClips)
{
    auto h = make(2);
    writeClip(*h, 3);
    h->closeCapture();
    h->drain();
    EXPECT_EQ(captures, 0); // silent: closing does not end the pass
    clock.advance(200);
    writeClip(*h, 2, 10.0f);
    h->closeCapture();
    h->drain();
    EXPECT_EQ(folderEntries(folder),
              (std::vector<std::string>{"Pro Tools 1 [tw-relay] 1 captured.wav", "Pro Tools 2 [tw-relay] 2 captured.wav"}));
    // The pass ends by the write time-out, counted from the block's own tick.
    clock.advance(500);
    h->tick();
    h->drain();
    EXPECT_EQ(captures, 0);
    clock.advance(1);
    h->tick();
    h->drain();
    EXPECT_EQ(captures, 1);
    EXPECT_FALSE(h->passOpen());
    // Every sample arrived, in order.
    const auto second = SoundFile::open(path("Pro Tools 2 [tw-relay] 2 captured.wav"));
    ASSERT_TRUE(second.ok()) << second.error();
    EXPECT_EQ(second.value().frames(), 512);
    EXPECT_EQ(second.value().sampleFormat(), SF_FORMAT_FLOAT);
    const auto channels = second.value().planar();
    TestBlock expect(2, 256, 11.0f);
    for (uint32_t i = 0; i < 256; ++i)
        EXPECT_EQ(channels[1][256 + i], expect.samples[1][i]);
}

TEST_F(FileHandlerTest, WavelabEndsThePassAtEveryClose)
{
    auto h = make(11);
    for (int pass = 0; pass < 3; ++pass) {
        writeClip(*h, 2);
        h->closeCapture();
    }
    h->drain();
    EXPECT_EQ(captures, 3);
    // Each pass starts again at clip 1, and its first clip cleans the folder.
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Wavelab 1 [tw-relay] 1 captured.wav"});
}

TEST_F(FileHandlerTest, FirstClipOfARepairPassKeepsOnlyReferenceAndReadyFiles)
{
    for (const char* name : {"Clip 3 [tw-relay] 3 captured.wav", "Clip 3 [tw-relay] 3 repaired.wav", "untagged.txt",
                             "Clip 4 [tw-relay] 4 reference.wav", "Clip 5 [tw-relay] 5 ready.wav"})
        touch(name);
    fs::create_directories(session + "/elsewhere");
    std::ofstream(session + "/elsewhere/target.wav") << "keep me";
    fs::create_symlink(session + "/elsewhere/target.wav", path("Clip 6 [tw-relay] 6 repaired.wav"));

    auto reference = make(36);
    reference->setReferenceMode(true);
    writeClip(*reference, 1);
    reference->closeCapture();
    reference->drain();
    EXPECT_EQ(folderEntries(folder).size(), 7u); // a reference pass deletes nothing

    auto repair = make(36);
    writeClip(*repair, 1);
    repair->drain();
    EXPECT_EQ(folderEntries(folder),
              (std::vector<std::string>{"Clip 1 [tw-relay] 1 captured.wav", "Clip 1 [tw-relay] 1 reference.wav",
                                        "Clip 4 [tw-relay] 4 reference.wav", "Clip 5 [tw-relay] 5 ready.wav"}));
    EXPECT_TRUE(fs::exists(session + "/elsewhere/target.wav")) << "a link is removed, never what it points to";
}

TEST_F(FileHandlerTest, ATakenNameGetsTheNextFreeNumberInBrackets)
{
    touch("Wavelab 1 [tw-relay] 1 reference.wav");
    touch("Wavelab 1 (1) [tw-relay] 1 reference.wav");
    auto h = make(11);
    h->setReferenceMode(true);
    writeClip(*h, 1);
    h->closeCapture();
    h->drain();
    EXPECT_TRUE(fs::exists(path("Wavelab 1 (2) [tw-relay] 1 reference.wav")));
}

TEST_F(FileHandlerTest, TheClipLimitCountsTheClipsTheEditorHolds)
{
    auto h = make(2);
    h->setClipsInEditor(14);
    for (int clip = 0; clip < 3; ++clip) {
        writeClip(*h, 1); // a refused clip still passes the host's audio: write answers true
        h->closeCapture();
    }
    h->drain();
    EXPECT_TRUE(h->limitHit());
    EXPECT_EQ(folderEntries(folder).size(), 2u);

    auto full = make(2);
    full->setClipsInEditor(16);
    writeClip(*full, 1);
    full->drain();
    EXPECT_TRUE(full->limitHit());
}

TEST_F(FileHandlerTest, BroadcastExtensionCarriesTheClipStartPlusTheTimelineOffset)
{
    struct Case {
        FakeContext::Position start;
        std::optional<int64_t> offset;
        uint64_t expected;
    };
    const Case cases[] = {
        {{48000, true}, 1000000, 1048000},
        {{48000, true}, -100000, 0}, // never below 0
        {{48000, false}, 1000000, 0}, // no transport position
        {{48000, true}, std::nullopt, 0},
        {{5000000000LL, true}, 0, 5000000000ULL}, // beyond 32 bits: both words
    };
    for (const auto& c : cases) {
        auto h = make(11);
        context.position = c.start;
        if (c.offset)
            h->setTimelineOffset(*c.offset);
        writeClip(*h, 1);
        h->closeCapture();
        h->drain();
        const auto clip = SoundFile::open(path("Wavelab 1 [tw-relay] 1 captured.wav"));
        ASSERT_TRUE(clip.ok()) << clip.error();
        const auto bext = clip.value().broadcastInfo();
        ASSERT_TRUE(bext);
        EXPECT_EQ(clip.value().timeReference(), c.expected) << c.start.samples << " + " << c.offset.value_or(-1);
        EXPECT_STREQ(bext->originator, "TW 6 Relay");
        EXPECT_EQ(std::string(bext->origination_date, 10).size(), 10u);
        EXPECT_EQ(bext->origination_date[4], '-');
        EXPECT_EQ(bext->origination_time[2], ':');
    }
}

TEST_F(FileHandlerTest, RepairedFilesPlayInClipNumberOrderAndAreDeletedWhenPlayed)
{
    fs::create_directories(folder);
    ASSERT_TRUE(SoundFile::writePlanar(path("Pro Tools 10 [tw-relay] 10 repaired.wav"),
                                       {std::vector<float>(100, 0.10f), std::vector<float>(100, -0.10f)}));
    ASSERT_TRUE(SoundFile::writePlanar(path("Pro Tools 9 [tw-relay] 9 repaired.wav"),
                                       {std::vector<float>(100, 0.09f), std::vector<float>(100, -0.09f)}));
    auto h = make(11); // Wavelab: a close ends the playback at once
    std::vector<std::string> found;
    ASSERT_TRUE(h->listRepaired(found));
    std::sort(found.rbegin(), found.rend()); // "Pro Tools 9..." after "Pro Tools 10..." in text order
    h->setRepairedList(found);
    EXPECT_EQ(h->repairedList().front(), path("Pro Tools 9 [tw-relay] 9 repaired.wav"));

    TestBlock block(2, 64, 1.0f);
    ASSERT_TRUE(h->read(64, block.data()));
    EXPECT_EQ(block.samples[0][0], 0.09f);
    EXPECT_EQ(block.samples[1][63], -0.09f);
    TestBlock last(2, 64, 1.0f);
    ASSERT_TRUE(h->read(64, last.data())); // the last 36 frames; the rest stays the host's
    EXPECT_EQ(last.samples[0][35], 0.09f);
    EXPECT_EQ(last.samples[0][36], TestBlock(2, 64, 1.0f).samples[0][36]);
    ASSERT_TRUE(h->read(64, last.data())); // wholly past the end: silence
    EXPECT_EQ(last.samples[1][0], 0.0f);
    EXPECT_EQ(last.samples[1][63], 0.0f);
    h->closePlayback();
    h->drain();
    EXPECT_EQ(playbacks, 1);
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Pro Tools 10 [tw-relay] 10 repaired.wav"});
    ASSERT_TRUE(h->read(64, block.data()));
    EXPECT_EQ(block.samples[0][0], 0.10f);
    // Only the first file opened since the list was set clears "ReadyToWrite".
    h->drain();
    using Flag = std::pair<std::string, bool>;
    EXPECT_EQ(context.storedFlags, std::vector<Flag>{Flag("ReadyToWrite", false)});
}

// The disk thread takes an offered list while other threads keep asking for
// it; whichever list was offered last must be the answer at every moment.
TEST_F(FileHandlerTest, AnOfferedListStaysVisibleWhileTheDiskThreadTakesIt)
{
    fs::create_directories(folder);
    const std::vector<std::string> files{path("Pro Tools 1 [tw-relay] 1 repaired.wav"),
                                         path("Pro Tools 2 [tw-relay] 2 repaired.wav")};
    for (const auto& file : files)
        ASSERT_TRUE(SoundFile::writePlanar(file, {std::vector<float>(16, 0.5f)}));
    auto h = make(2);
    int wrong = 0;
    for (int i = 0; i < 3000 && wrong == 0; ++i) {
        const std::vector<Util::String> list{files[i % 2]};
        h->setRepairedList(list);
        wrong += h->repairedList() != list;
    }
    EXPECT_EQ(wrong, 0);
    h->drain();
    EXPECT_EQ(h->repairedList(), std::vector<Util::String>{files[1]}); // the last offer, i = 2999
}

// A list set just before a block replaces the one whose first file the disk
// thread has already opened and announced.
TEST_F(FileHandlerTest, APlaybackStartsFromTheListSetLast)
{
    fs::create_directories(folder);
    const std::string first = path("Pro Tools 1 [tw-relay] 1 repaired.wav");
    const std::string second = path("Pro Tools 2 [tw-relay] 2 repaired.wav");
    ASSERT_TRUE(SoundFile::writePlanar(first, {std::vector<float>(64, 0.1f), std::vector<float>(64, 0.1f)}));
    ASSERT_TRUE(SoundFile::writePlanar(second, {std::vector<float>(64, 0.2f), std::vector<float>(64, 0.2f)}));
    for (int round = 0; round < 20; ++round) {
        auto h = make(11);
        h->setRepairedList({first});
        h->drain(); // file 1 is open and announced
        h->setRepairedList({second});
        TestBlock block(2, 64, 1.0f);
        ASSERT_TRUE(h->read(64, block.data()));
        ASSERT_EQ(block.samples[0][0], 0.2f) << "round " << round;
    }
}

TEST_F(FileHandlerTest, PastTheEndSonarKeepsTheHostsAudio)
{
    fs::create_directories(folder);
    ASSERT_TRUE(SoundFile::writePlanar(path("SONAR 1 [tw-relay] 1 repaired.wav"),
                                       {std::vector<float>(10, 0.5f), std::vector<float>(10, 0.5f)}));
    auto sonar = make(10);
    TestBlock block(2, 32, 0.75f);
    const TestBlock host(2, 32, 0.75f);
    ASSERT_TRUE(sonar->read(32, block.data()));
    EXPECT_EQ(block.samples[0][9], 0.5f);
    EXPECT_EQ(block.samples[0][10], host.samples[0][10]);
    TestBlock later(2, 32, 0.75f);
    const auto untouched = later.samples;
    ASSERT_TRUE(sonar->read(32, later.data()));
    EXPECT_EQ(later.samples, untouched);
}

TEST_F(FileHandlerTest, ReadTimeOutEndsThePlaybackAndTheRescanNoticesVanishedFiles)
{
    fs::create_directories(folder);
    ASSERT_TRUE(SoundFile::writePlanar(path("Pro Tools 1 [tw-relay] 1 repaired.wav"),
                                       {std::vector<float>(10, 0.5f), std::vector<float>(10, 0.5f)}));
    auto h = make(2);
    TestBlock block(2, 8, 0.0f);
    ASSERT_TRUE(h->read(8, block.data()));
    h->closePlayback(); // silent close: the file goes, no signal
    h->drain();
    EXPECT_EQ(playbacks, 0);
    EXPECT_TRUE(folderEntries(folder).empty());
    clock.advance(501);
    h->tick();
    h->drain();
    EXPECT_EQ(playbacks, 1);

    // Media Composer (4) rescans while ready to write.
    ASSERT_TRUE(SoundFile::writePlanar(path("Media Composer 1 [tw-relay] 1 repaired.wav"),
                                       {std::vector<float>(10, 0.5f), std::vector<float>(10, 0.5f)}));
    auto mc = make(4);
    context.state = 3;
    mc->tick();
    mc->drain();
    EXPECT_EQ(playbacks, 1);
    fs::remove(path("Media Composer 1 [tw-relay] 1 repaired.wav"));
    mc->tick();
    mc->drain();
    EXPECT_EQ(playbacks, 2);
}

TEST_F(FileHandlerTest, FaultsEndInAFailedCallAndTouchNothingElse)
{
    // A repaired file with another channel count is never read: the audio passes.
    Util::Log::Capture log;
    fs::create_directories(folder);
    ASSERT_TRUE(SoundFile::writePlanar(path("Pro Tools 1 [tw-relay] 1 repaired.wav"), {std::vector<float>(10, 0.5f)}));
    auto h = make(2);
    TestBlock block(2, 8, 0.25f);
    const auto original = block.samples;
    EXPECT_TRUE(h->read(8, block.data()));
    EXPECT_EQ(block.samples, original);

    // A corrupt repaired file fails the read.
    std::ofstream(path("Pro Tools 2 [tw-relay] 2 repaired.wav")) << "RIFF....WAVEjunk";
    fs::remove(path("Pro Tools 1 [tw-relay] 1 repaired.wav"));
    auto corrupt = make(2);
    EXPECT_FALSE(corrupt->read(8, block.data()));
    EXPECT_EQ(block.samples, original);
    EXPECT_TRUE(fs::exists(path("Pro Tools 2 [tw-relay] 2 repaired.wav")));

    // No repaired file at all.
    fs::remove(path("Pro Tools 2 [tw-relay] 2 repaired.wav"));
    EXPECT_FALSE(make(2)->read(8, block.data()));

    // A shuttle folder that cannot be created: its parent is a file.
    std::ofstream(session + "/blocker") << "file";
    Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session + "/blocker");
    auto blocked = make(2);
    TestBlock capture(2, 8, 0.25f);
    blocked->write(8, capture.data()); // the disk thread finds out
    blocked->drain();
    EXPECT_TRUE(blocked->passFailed());
    EXPECT_FALSE(blocked->write(8, capture.data()));

    // No format ever set.
    FileHandler unformatted(context, 2);
    EXPECT_FALSE(unformatted.write(8, capture.data()));

    // Each failure has its log line, naming the file and the reason.
    h->drain();
    EXPECT_TRUE(log.contains(path("Pro Tools 1 [tw-relay] 1 repaired.wav") + " has 1 channels, the instance 2"));
    EXPECT_TRUE(log.contains(path("Pro Tools 2 [tw-relay] 2 repaired.wav") + " could not be opened: "));
    EXPECT_TRUE(log.contains(session + "/blocker/Relay could not be created: Not a directory"));
}

// Two instances share the folder. The second one's repair pass cleans it while
// the first is still writing its clip: that clip is spared (as an open file
// cannot be deleted on the hosts' other systems), keeps every block, and the
// second instance's clip takes the next free name.
TEST_F(FileHandlerTest, CleaningSparesTheClipAnotherInstanceIsWriting)
{
    touch("Pro Tools 7 [tw-relay] 7 captured.wav"); // an earlier pass's clip, closed
    auto first = make(2);
    writeClip(*first, 2, 10.0f);
    first->drain();
    ASSERT_TRUE(first->captureOpen());

    auto second = make(2);
    writeClip(*second, 1, 20.0f);
    second->drain();
    EXPECT_EQ(folderEntries(folder), (std::vector<std::string>{"Pro Tools 1 (1) [tw-relay] 1 captured.wav",
                                                               "Pro Tools 1 [tw-relay] 1 captured.wav"}));

    writeClip(*first, 1, 12.0f);
    first->closeCapture();
    second->closeCapture();
    first->drain();
    second->drain();
    const auto clip = SoundFile::open(path("Pro Tools 1 [tw-relay] 1 captured.wav"));
    ASSERT_TRUE(clip.ok()) << clip.error();
    const auto channels = clip.value().planar();
    ASSERT_EQ(channels[0].size(), 3u * 256u);
    EXPECT_EQ(channels[0][0], 10.0f);
    EXPECT_EQ(channels[0][2 * 256], 12.0f);
    EXPECT_EQ(channels[1][3 * 256 - 1], TestBlock(2, 256, 12.0f).samples[1][255]);
}

// A change of channel count closes the clip and ends the pass before the next
// clip opens: the end is reported while the limit still stands as it did for
// the clip just closed, even when the next clip is the one over the limit.
TEST_F(FileHandlerTest, AChannelCountChangeEndsThePassBeforeTheNextClipOpens)
{
    auto h = make(11); // Wavelab: a close ends the pass
    h->setClipsInEditor(15); // room for one clip
    std::vector<bool> limitWhenEnded;
    h->captureFinished.connect([&] { limitWhenEnded.push_back(h->limitHit()); });
    writeClip(*h, 1);
    context.channels = 1;
    TestBlock mono(1, 256, 3.0f);
    EXPECT_TRUE(h->write(256, mono.data())); // refused by the limit, the host's audio passes
    h->drain();
    EXPECT_EQ(limitWhenEnded, std::vector<bool>{false});
    EXPECT_TRUE(h->limitHit());
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Wavelab 1 [tw-relay] 1 captured.wav"});
}
