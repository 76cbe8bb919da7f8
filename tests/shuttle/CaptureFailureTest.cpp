#include <gtest/gtest.h>

#include "ShuttleInstance.h"
#include "ShuttleTestSupport.h"
#include "ipc/EditorPeer.h"
#include "platform/ProcessInfo.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"
#include "util/Log.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using TestSupport::SoundFile;
using State = DSP::Transform::State;
using Shuttle::EditorMessage;

constexpr uint32_t Block = 512;
constexpr uint32_t InputFrames = 2 * 48000;
constexpr rlim_t FileSizeLimit = 200 * 1024;
constexpr uint64_t HeaderBytes = 44; // RIFF, "fmt " of stereo float, the data chunk's head

float inputSample(uint32_t channel, uint32_t frame) { return float(frame % 4801) / 4800.0f - float(channel) * 0.5f; }

// What the child reports by its exit status.
enum ChildResult : int {
    Fine = 0,
    NotConnected = 10,  // the editor peer never took the probe
    AudioTouched,       // a captured block came back changed
    NotFailedAtTheWrite, // the pass went on as if the write had landed
    NotIdle,            // the failed pass did not end in state 0
    EditorStarted,      // the shell was asked to start the editor
    StartUpKeySet,      // the editor would open the clip at its start
    EditorTold,         // a request (message 1) is outstanding
    NoLogLine,          // the log does not name the clip and the reason
    SentinelRefused,
};

bool waitForReply(Plugin& plugin, DSP::Transform& transform)
{
    for (int i = 0; i < 5000 && transform.requestOutstanding(); ++i) {
        plugin.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !transform.requestOutstanding();
}

// The child: an instance presenting itself as Wavelab, linked to the test's
// editor peer, renders the input with a file-size limit in force.
int renderIntoAFullDisk(const IPC::SocketPair::Endpoints& editor)
{
    std::signal(SIGXFSZ, SIG_IGN);
    Util::Log::Capture log;
    RecordingShell shell;
    Platform::installShell(&shell);
    Platform::overrideHostProcessFileName("WaveLab");
    TestFactory factory;
    factory.endpoints = editor;
    auto plugin = createInstance(factory);
    auto& transform = dynamic_cast<DSP::Transform&>(plugin->elementSet());

    // A request the peer answers shows that the link is up: were message 1
    // ever sent, it would reach the peer rather than be dropped.
    bool sent = false;
    for (int i = 0; i < 500 && !(sent = transform.sendToEditor(EditorMessage::Discard)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!sent || !waitForReply(*plugin, transform))
        return NotConnected;

    const rlimit limit{FileSizeLimit, FileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<float> left(Block), right(Block);
    float* channels[2] = {left.data(), right.data()};
    std::array<uint8_t, 136> transport{};
    CoreRecords::Process record;
    record.frameCount = Block;
    record.channels = channels;
    record.transport = transport.data();
    record.analysisPass = true;
    for (uint32_t at = 0; at < InputFrames; at += Block) {
        for (uint32_t i = 0; i < Block; ++i) {
            left[i] = inputSample(0, at + i);
            right[i] = inputSample(1, at + i);
        }
        plugin->processBlock(record);
        for (uint32_t i = 0; i < Block; ++i)
            if (left[i] != inputSample(0, at + i) || right[i] != inputSample(1, at + i))
                return AudioTouched;
    }
    transform.drain(); // the write that did not land failed the pass, before its end
    if (transform.state() != State::Idle || !transform.fileHandler().passFailed())
        return NotFailedAtTheWrite;
    plugin->notifyElementSet(); // processing stopped: Wavelab ends the pass
    transform.drain();

    if (transform.state() != State::Idle)
        return NotIdle;
    if (!shell.opened.empty())
        return EditorStarted;
    if (plugin->settings().GetBool("ShuttleOpenFilesAtStartUp", false))
        return StartUpKeySet;
    if (transform.requestOutstanding())
        return EditorTold;
    const std::string clip = transform.fileHandler().folder() + "/Wavelab 1 [tw-relay] 1 captured.wav";
    const auto lines = log.messages();
    if (std::count_if(lines.begin(), lines.end(), [&](const Util::String& line) {
            return line.find(clip) != Util::String::npos && line.find("File too large") != Util::String::npos;
        }) != 1)
        return NoLogLine;
    // The sentinel: the next request the peer sees is this one, not message 1.
    if (!transform.sendToEditor(EditorMessage::Discard))
        return SentinelRefused;
    plugin.reset(); // the link lingers until the request is out
    return Fine;
}

int32_t enumValueOf(const TestSupport::Frames& frames)
{
    if (frames.size() != 2 || frames[1].empty())
        return -1;
    return int32_t(frames[1].back());
}

} // namespace

// A disk that fills up during a capture (a file-size limit stands in for it,
// in a child process so that the limit stays there): the clip keeps exactly
// the frames that reached the disk, with a header that says so; the pass is
// abandoned, so the editor is neither started nor told; the log names the clip
// and the system's reason once.
TEST(CaptureFailure, AFullDiskLeavesAReadableClipThatNeverReachesTheEditor)
{
    const std::string session = TestSupport::makeTempFolder("full");
    Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
    Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").RemoveValue("ShuttleOpenFilesAtStartUp");
    TestSupport::EditorPeer editor;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(renderIntoAFullDisk(editor.endpoints()));

    const auto probe = editor.nextRequest(std::chrono::seconds(30));
    ASSERT_FALSE(probe.routingId.empty()) << "the child never reached the editor peer";
    editor.reply(probe.routingId, {TestSupport::bytes("IPC_SimpleReply"), {0x91, 0xC3}});
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the child crashed";
    ASSERT_EQ(WEXITSTATUS(status), Fine) << "see ChildResult";
    const auto next = editor.nextRequest(std::chrono::seconds(30)); // out before the child ended
    EXPECT_EQ(enumValueOf(next.frames), int32_t(EditorMessage::Discard)) << "the editor was told of the pass";

    const auto entries = folderEntries(session + "/Relay");
    ASSERT_EQ(entries, std::vector<std::string>{"Wavelab 1 [tw-relay] 1 captured.wav"});
    const std::string clip = session + "/Relay/" + entries[0];
    const auto file = SoundFile::open(clip);
    ASSERT_TRUE(file.ok()) << file.error();
    const uint64_t framesOnDisk = (FileSizeLimit - HeaderBytes) / 8;
    EXPECT_EQ(uint64_t(file.value().frames()), framesOnDisk);
    EXPECT_EQ(std::filesystem::file_size(clip), HeaderBytes + framesOnDisk * 8);
    std::ifstream bytes(clip, std::ios::binary);
    uint32_t riffSize = 0, dataSize = 0;
    bytes.seekg(4).read(reinterpret_cast<char*>(&riffSize), 4);
    bytes.seekg(40).read(reinterpret_cast<char*>(&dataSize), 4);
    EXPECT_EQ(dataSize, framesOnDisk * 8) << "the header must describe the frames on disk";
    EXPECT_EQ(riffSize, HeaderBytes + framesOnDisk * 8 - 8);
    const auto channels = file.value().planar();
    for (uint32_t c = 0; c < 2; ++c)
        for (uint32_t i = 0; i < channels[c].size(); ++i)
            ASSERT_EQ(channels[c][i], inputSample(c, i)) << "channel " << c << ", frame " << i;
}

// A shuttle folder that cannot be made (its parent is a file, which not even
// root can make a folder in): every pass fails at its first block, logs the
// folder and the system's reason once, whatever blocks follow, and ends idle
// without a word to the editor.
TEST(CaptureFailure, AnUnwritableFolderFailsEachPassWithOneLogLine)
{
    const std::string parent = TestSupport::makeTempFolder("blocked") + "/a file";
    std::ofstream(parent) << "not a folder";
    Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", parent);
    Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").RemoveValue("ShuttleOpenFilesAtStartUp");
    RecordingShell shell;
    Platform::installShell(&shell);
    Platform::overrideHostProcessFileName("WaveLab");
    Util::Log::Capture log;
    {
        TestFactory factory;
        auto plugin = createInstance(factory);
        auto& transform = dynamic_cast<DSP::Transform&>(plugin->elementSet());
        const std::string folder = parent + "/Relay";
        for (size_t pass = 1; pass <= 2; ++pass) {
            for (int i = 0; i < 6; ++i) {
                TestBlock block(2, 256, float(i));
                CoreRecords::Process record;
                std::array<uint8_t, 136> transport{};
                record.frameCount = 256;
                record.channels = block.pointers.data();
                record.transport = transport.data();
                record.analysisPass = true;
                plugin->processBlock(record);
                if (i == 2)
                    transform.drain(); // the failure is known while the pass goes on
            }
            plugin->notifyElementSet();
            transform.drain();
            EXPECT_EQ(transform.state(), State::Idle) << "pass " << pass;
            const auto lines = log.messages();
            EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                    [&](const Util::String& line) {
                                        return line.find(folder) != Util::String::npos &&
                                               line.find("Not a directory") != Util::String::npos;
                                    }),
                      pass)
                << "one line per pass";
        }
    }
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_FALSE(Util::ConfigFile("SOFTWARE\\Quillex\\TW6Relay").GetBool("ShuttleOpenFilesAtStartUp", false));
    Platform::installShell(nullptr);
    Platform::overrideHostProcessFileName("");
}
