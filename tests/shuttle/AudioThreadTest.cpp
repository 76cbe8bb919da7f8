#include <gtest/gtest.h>

#include "ShuttleInstance.h"
#include "ShuttleTestSupport.h"
#include "support/FakeClock.h"
#include "platform/ProcessInfo.h"
#include "shuttle/LoadRepairedFileCommand.h"
#include "support/SoundFile.h"
#include "support/TestEnvironment.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

namespace fs = std::filesystem;
using TestSupport::SoundFile;
using State = DSP::Transform::State;

namespace {

// Holds locks on a thread of its own until released, as another thread of
// the host or of the plug-in would at the worst moment.
class LockHolder {
public:
    explicit LockHolder(std::vector<Platform::CriticalSection*> locks)
        : thread_([this, locks] {
              for (auto* lock : locks)
                  lock->enter();
              held_.set_value();
              release_.get_future().wait();
              for (auto* lock : locks)
                  lock->leave();
          })
    {
        held_.get_future().wait();
    }
    ~LockHolder() { release(); }
    void release()
    {
        if (thread_.joinable()) {
            release_.set_value();
            thread_.join();
        }
    }

private:
    std::promise<void> held_;
    std::promise<void> release_;
    std::thread thread_;
};

// The audio thread's side of one instance: blocks prebuilt once, so that
// whatever a call allocates is the instance's own.
class AudioThreadTest : public ::testing::Test {
protected:
    void start(const char* hostProcess)
    {
        plugin.reset();
        Platform::overrideHostProcessFileName(hostProcess);
        session = TestSupport::makeTempFolder("session");
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        plugin = createInstance(factory);
        transform = dynamic_cast<DSP::Transform*>(&plugin->elementSet());
        Platform::installShell(&shell);
        record.frameCount = Frames;
        record.channels = channels.data();
        record.transport = transportBytes.data();
    }
    void TearDown() override
    {
        plugin.reset();
        Platform::installShell(nullptr);
        Platform::overrideHostProcessFileName("");
    }

    // Block n of the signal through the instance.
    void process(bool analysisPass, uint32_t n)
    {
        for (uint32_t i = 0; i < Frames; ++i) {
            left[i] = float(n) + float(i) / 1024.0f;
            right[i] = -left[i];
        }
        record.analysisPass = analysisPass;
        plugin->processBlock(record);
    }
    void loadRepaired(const std::string& clip)
    {
        transform->commandPipe().PostToHigh(new Shuttle::LoadRepairedFileCommand(*transform, {clip}));
        transform->commandPipe().ProcessHigh();
        transform->commandPipe().ProcessLow();
        transform->drain(); // the file is open and read ahead, as it is long before the user renders
    }
    std::string folder() const { return session + "/Relay"; }
    std::vector<Platform::CriticalSection*> shuttleLocks()
    {
        return {&transform->criticalSection(), &transform->linkLock(), &transform->stateLock(),
                &transform->editorTasks().queueLock(), &transform->fileHandler().repairedListLock()};
    }

    static constexpr uint32_t Frames = 256;
    Platform::FakeClock clock{10000};
    TestFactory factory;
    RecordingShell shell;
    std::array<uint8_t, 136> transportBytes{};
    std::array<float, Frames> left{}, right{};
    std::array<float*, 2> channels{left.data(), right.data()};
    CoreRecords::Process record;
    std::unique_ptr<Plugin> plugin;
    DSP::Transform* transform = nullptr;
    std::string session;
};

// A step of the audio thread, named for the failure message.
struct Step {
    const char* what;
    std::function<void()> call;
};

void expectNoAllocation(const std::vector<Step>& steps)
{
    for (const auto& step : steps) {
        const auto before = TestSupport::threadAllocationCount();
        step.call();
        EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u) << step.what;
    }
}

} // namespace

// Every call of the audio thread through a capture and a playback allocates
// nothing: the first block of a pass (whose clip needs the folder cleaned and
// a file opened), every block, a clip boundary, the end of a pass, the first
// played block and the stop that closes the playback. The disk thread does the
// file work.
TEST_F(AudioThreadTest, AllocatesNothingThroughPassesClipBoundariesAndPlayback)
{
    // Pro Tools closes silently: processing stopped is a clip boundary inside the pass.
    start("Pro Tools");
    fs::create_directories(folder());
    std::ofstream(folder() + "/Pro Tools 7 [tw-relay] 7 captured.wav") << "an earlier pass";
    uint32_t n = 0;
    std::vector<Step> steps{{"the pass's first block", [&] { process(true, n++); }}};
    for (int i = 0; i < 10; ++i)
        steps.push_back({"a captured block", [&] { process(true, n++); }});
    steps.push_back({"processing stopped: the clip closes", [&] { plugin->notifyElementSet(); }});
    steps.push_back({"the next clip's first block", [&] { process(true, n++); }});
    steps.push_back({"the run stops", [&] { plugin->switchRunState(false, false, 0); }});
    expectNoAllocation(steps);
    transform->drain();
    EXPECT_EQ(folderEntries(folder()),
              (std::vector<std::string>{"Pro Tools 1 [tw-relay] 1 captured.wav", "Pro Tools 2 [tw-relay] 2 captured.wav"}));

    // Wavelab ends the pass at every close; then the repaired clip plays.
    start("WaveLab");
    n = 0;
    expectNoAllocation({{"the pass's first block", [&] { process(true, n++); }},
                        {"a captured block", [&] { process(true, n++); }},
                        {"processing stopped: the pass ends", [&] { plugin->notifyElementSet(); }}});
    transform->drain();
    EXPECT_EQ(transform->state(), State::Captured);
    const std::string clip = folder() + "/Wavelab 1 [tw-relay] 1 repaired.wav";
    ASSERT_TRUE(SoundFile::writePlanar(clip, {std::vector<float>(48000, 0.25f), std::vector<float>(48000, -0.25f)}));
    loadRepaired(clip);
    steps = {{"the first played block", [&] { process(false, 0); }}};
    for (int i = 0; i < 20; ++i)
        steps.push_back({"a played block", [&] { process(false, 0); }});
    steps.push_back({"the run stops: the playback closes", [&] { plugin->switchRunState(false, false, 0); }});
    expectNoAllocation(steps);
    transform->drain();
    EXPECT_EQ(transform->state(), State::Idle);
    EXPECT_FALSE(fs::exists(clip));
}

// Another thread holds every lock of the shuttle's other threads (the
// transform's critical section, the link, the state's setting, the editor
// tasks' queue, the repaired list) while the audio thread captures through a
// pass start, a clip boundary or a pass end, and a run stop, then plays and
// stops. Its calls still return: none of them waits on those locks. The
// bound only catches a real deadlock. (The processing lock is the audio
// thread's own: the entry holds it for every block.)
TEST_F(AudioThreadTest, BlocksFlowWhileOtherThreadsHoldEveryShuttleLock)
{
    const auto returnsWhileHeld = [&](const std::function<void()>& audioCalls) {
        LockHolder holder(shuttleLocks());
        std::packaged_task<void()> task(audioCalls);
        auto done = task.get_future();
        std::thread audio(std::move(task));
        const bool returned = done.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
        holder.release();
        audio.join();
        return returned;
    };
    struct Case {
        const char* host;
        std::vector<std::string> clips; // what the folder holds after the capture
        State after;
    };
    const Case cases[] = {
        {"Pro Tools", {"Pro Tools 1 [tw-relay] 1 captured.wav", "Pro Tools 2 [tw-relay] 2 captured.wav"}, State::Capturing},
        {"WaveLab", {"Wavelab 1 [tw-relay] 1 captured.wav"}, State::Captured},
    };
    for (const auto& c : cases) {
        start(c.host);
        EXPECT_TRUE(returnsWhileHeld([&] {
            for (uint32_t n = 0; n < 8; ++n)
                process(true, n);
            plugin->notifyElementSet();
            for (uint32_t n = 8; n < 16; ++n)
                process(true, n);
            plugin->switchRunState(false, false, 0);
        })) << c.host << ": capturing";
        transform->drain();
        EXPECT_EQ(folderEntries(folder()), c.clips) << c.host;
        EXPECT_EQ(transform->state(), c.after) << c.host;
        const auto last = SoundFile::open(folder() + "/" + c.clips.back());
        ASSERT_TRUE(last.ok()) << last.error();
        ASSERT_EQ(last.value().frames(), 8 * Frames) << c.host;
        EXPECT_EQ(last.value().planar()[0][0], 8.0f) << c.host;
    }

    const std::string clip = folder() + "/Wavelab 2 [tw-relay] 2 repaired.wav";
    ASSERT_TRUE(SoundFile::writePlanar(clip, {std::vector<float>(48000, 0.25f), std::vector<float>(48000, -0.25f)}));
    loadRepaired(clip);
    EXPECT_TRUE(returnsWhileHeld([&] {
        for (int i = 0; i < 20; ++i)
            process(false, 0);
        plugin->switchRunState(false, false, 0);
    })) << "playing";
    EXPECT_EQ(left[0], 0.25f);
    transform->drain();
    EXPECT_EQ(transform->state(), State::Idle);
    EXPECT_FALSE(fs::exists(clip));
}
