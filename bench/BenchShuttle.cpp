// Capture and Playback: the whole plug-in capturing a one-minute stereo clip at
// 48 kHz in 512-frame blocks (and playing a repaired one back), entered through
// the entry protocol, beside libsndfile alone writing (reading) the same blocks.
// Figures are per clip; items are frames, so items/s over 48000 is times real time.
//
// CaptureWorstBlock, PlaybackWorstBlock and PassThroughWorstBlock: the audio
// thread's own time for each call of the same minute, with a new pass every
// ten seconds, as counters: the 99.9th percentile and the longest call, in
// microseconds. The time column is the audio thread's time for the minute.
// Blocks come at eight times real time, a fast render that the disk keeps up
// with (an unpaced render outruns the disk and, by design, waits for it), on a
// thread of real-time priority as a host's audio thread is (counter
// "realtime" says whether the system granted it).
#include <benchmark/benchmark.h>

#include "core/EntryDispatcher.h"
#include "core/Plugin.h"
#include "platform/Folders.h"
#include "platform/ProcessInfo.h"
#include "platform/Shell.h"
#include "shuttle/LoadRepairedFileCommand.h"
#include "shuttle/Transform.h"
#include "io/ConfigFile.h"
#include "wrapper/PluginInstance.h"
#include "ReplyingPeer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <numeric>
#include <pthread.h>
#include <sched.h>
#include <cmath>
#include <filesystem>
#include <sndfile.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t Rate = 48000;
constexpr uint32_t Block = 512;
constexpr uint32_t Frames = Rate * 60;

// A wrapper that answers no reverse call, of the given plug-in format.
struct QuietHost final : Wrapper::HostCallbacks {
    explicit QuietHost(uint32_t formatIdentifier) : HostCallbacks(describe(formatIdentifier)) {}
    int32_t answer(EntryProtocol::ReverseSelector, uint32_t, void*) override { return EntryProtocol::WrongProtocol; }
    static Wrapper::HostDescription describe(uint32_t formatIdentifier)
    {
        Wrapper::HostDescription host;
        host.formatIdentifier = formatIdentifier;
        return host;
    }
};

// Starting the editor is not part of the figure.
struct NoShell final : Platform::Shell {
    int32_t open(const Util::String&, const Util::String&, const Util::String&) override { return Started; }
};

struct Signal {
    std::vector<float> left, right;
    Signal() : left(Frames), right(Frames)
    {
        for (uint32_t i = 0; i < Frames; ++i) {
            left[i] = 0.25f * std::sin(float(i) * 0.0575f);
            right[i] = 0.25f * std::sin(float(i) * 0.0411f);
        }
    }
};
const Signal& signal()
{
    static const Signal s;
    return s;
}

std::string benchFolder()
{
    static const std::string folder = [] {
        const std::string f = Platform::userDataFolder() + "/relay-bench-shuttle"; // below the private home
        fs::create_directories(f);
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", f);
        return f;
    }();
    return folder;
}

// One instance as the wrapper makes it, presenting itself as Wavelab, entered
// through the dispatcher as the library's entry enters it.
// An offline format with no analysis pass leaves every block alone: a
// pass-through instance.
struct Instance {
    NoShell shell;
    QuietHost host;
    std::unique_ptr<Wrapper::PluginInstance> plugin;
    std::vector<float> left = std::vector<float>(Block), right = std::vector<float>(Block);
    float* channels[2] = {left.data(), right.data()};

    explicit Instance(uint32_t formatIdentifier = EntryProtocol::Format::Vst) : host(formatIdentifier)
    {
        benchFolder();
        Platform::installShell(&shell);
        Platform::overrideHostProcessFileName("WaveLab");
        plugin = std::make_unique<Wrapper::PluginInstance>(&EntryDispatcher::dispatch, host, "Bench");
        plugin->create(float(Rate), EntryProtocol::channelConfigurationFor(2));
        plugin->activate(Wrapper::PluginInstance::AudioThread);
    }
    ~Instance()
    {
        plugin.reset();
        Platform::installShell(nullptr);
        Platform::overrideHostProcessFileName("");
    }
    Plugin& core() { return *static_cast<Plugin*>(static_cast<PluginCore*>(plugin->handle())); }
    DSP::Transform& transform() { return dynamic_cast<DSP::Transform&>(core().elementSet()); }

    // The whole clip, block by block; an analysis pass captures, any other plays back.
    void render(bool analysisPass, bool copyIn)
    {
        const auto& s = signal();
        const Wrapper::Transport transport{0.0, true};
        for (uint32_t at = 0; at < Frames; at += Block) {
            if (copyIn) {
                std::copy_n(s.left.data() + at, Block, left.data());
                std::copy_n(s.right.data() + at, Block, right.data());
            }
            plugin->process(Block, channels, transport, analysisPass);
        }
    }
};

// The clip is on disk, finished, when an iteration ends: the disk thread's
// work counts as libsndfile's does. (The editor's launch and message run on
// their own worker meanwhile.)
void Capture_ours(benchmark::State& state)
{
    Instance plugin;
    for (auto _ : state) {
        plugin.render(true, true);
        plugin.plugin->processingStopped(); // the clip closes
        plugin.transform().fileHandler().drain();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * Frames);
}

// The same capture while an editor answers at the plug-in's request port: the
// capture finishing sends it message 1, whose reply the idle service reads
// between clips as a host's idle calls would. Capture/ours over this figure
// says whether rendering without an editor costs anything more.
void Capture_editor(benchmark::State& state)
{
    ReplyingPeer editor(IPC::SocketPair::Endpoints().request);
    if (!editor.bound()) {
        state.SkipWithError("the editor's request port is taken");
        return;
    }
    Instance plugin;
    for (auto _ : state) {
        plugin.render(true, true);
        plugin.plugin->processingStopped();
        plugin.transform().fileHandler().drain();
        state.PauseTiming();
        plugin.transform().drain(); // the launch and message 1
        for (int i = 0; i < 100 && plugin.transform().requestOutstanding(); ++i) {
            plugin.plugin->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        state.ResumeTiming();
    }
    state.counters["requests answered"] = editor.answered();
    state.SetItemsProcessed(int64_t(state.iterations()) * Frames);
}

void Capture_libsndfile(benchmark::State& state)
{
    const std::string path = benchFolder() + "/peer capture.wav";
    std::vector<float> left(Block), right(Block), interleaved(2 * Block);
    const auto& s = signal();
    for (auto _ : state) {
        SF_INFO info{};
        info.samplerate = Rate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
        for (uint32_t at = 0; at < Frames; at += Block) {
            std::copy_n(s.left.data() + at, Block, left.data());
            std::copy_n(s.right.data() + at, Block, right.data());
            for (uint32_t i = 0; i < Block; ++i) {
                interleaved[2 * i] = left[i];
                interleaved[2 * i + 1] = right[i];
            }
            sf_writef_float(f, interleaved.data(), Block);
        }
        sf_close(f);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * Frames);
}

std::string repairedClip()
{
    const std::string path = benchFolder() + "/Wavelab 1 [tw-relay] 1 repaired.wav";
    if (!fs::exists(path)) {
        SF_INFO info{};
        info.samplerate = Rate;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
        std::vector<float> interleaved(2 * size_t(Frames));
        for (uint32_t i = 0; i < Frames; ++i) {
            interleaved[2 * i] = signal().left[i];
            interleaved[2 * i + 1] = signal().right[i];
        }
        sf_writef_float(f, interleaved.data(), Frames);
        sf_close(f);
    }
    return path;
}

void Playback_ours(benchmark::State& state)
{
    Instance plugin;
    const std::string clip = repairedClip();
    auto& transform = plugin.transform();
    for (auto _ : state) {
        // As the window's load action does: the list, then "Ready to Write".
        transform.commandPipe().PostToHigh(new Shuttle::LoadRepairedFileCommand(transform, {clip}));
        transform.commandPipe().ProcessHigh();
        transform.commandPipe().ProcessLow();
        plugin.render(false, false);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * Frames);
}

void Playback_libsndfile(benchmark::State& state)
{
    const std::string clip = repairedClip();
    std::vector<float> left(Block), right(Block), interleaved(2 * Block);
    for (auto _ : state) {
        SF_INFO info{};
        SNDFILE* f = sf_open(clip.c_str(), SFM_READ, &info);
        for (uint32_t at = 0; at < Frames; at += Block) {
            sf_readf_float(f, interleaved.data(), Block);
            for (uint32_t i = 0; i < Block; ++i) {
                left[i] = interleaved[2 * i];
                right[i] = interleaved[2 * i + 1];
            }
            benchmark::DoNotOptimize(left.data());
        }
        sf_close(f);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * Frames);
}

// The audio thread's time per call over one minute, a new pass every ten seconds.
class CallTimes {
public:
    template <typename Call>
    void time(Call&& call)
    {
        const auto start = std::chrono::steady_clock::now();
        call();
        times_.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    double total() const { return std::accumulate(times_.begin(), times_.end(), 0.0) / 1e6; }
    void report(benchmark::State& state)
    {
        std::sort(times_.begin(), times_.end());
        const size_t at = size_t(std::ceil(0.999 * double(times_.size()))) - 1;
        state.counters["p999_us"] = times_[at];
        state.counters["max_us"] = times_.back();
        state.counters["calls"] = double(times_.size());
    }

private:
    std::vector<double> times_;
};

constexpr uint32_t PassBlocks = (Rate * 10 + Block / 2) / Block; // ten seconds, to the nearest block
constexpr uint32_t PaceOverRealTime = 8;

// A host's audio thread runs with a real-time priority, above the plug-in's
// own threads; so does this one while it renders, where the system allows it.
class RealTimePriority {
public:
    RealTimePriority()
    {
        pthread_getschedparam(pthread_self(), &policy_, &previous_);
        const sched_param realTime{sched_get_priority_min(SCHED_FIFO) + 10};
        granted_ = pthread_setschedparam(pthread_self(), SCHED_FIFO, &realTime) == 0;
    }
    ~RealTimePriority()
    {
        if (granted_)
            pthread_setschedparam(pthread_self(), policy_, &previous_);
    }
    bool granted() const { return granted_; }

private:
    int policy_ = SCHED_OTHER;
    sched_param previous_{};
    bool granted_ = false;
};

// Each pass ends with the host's call `endPass` (timed: it is the audio
// thread's too); `beforePass` is the user's part between passes (not timed).
void renderPasses(Instance& plugin, benchmark::State& state, bool analysisPass, const std::function<void()>& endPass,
                  const std::function<void()>& beforePass)
{
    const RealTimePriority priority;
    state.counters["realtime"] = priority.granted() ? 1 : 0;
    CallTimes times;
    const auto& s = signal();
    const Wrapper::Transport transport{0.0, true};
    const auto blockPeriod = std::chrono::nanoseconds(1'000'000'000ull * Block / Rate / PaceOverRealTime);
    for (auto _ : state) {
        auto due = std::chrono::steady_clock::now();
        for (uint32_t at = 0, block = 0; at < Frames; at += Block, ++block) {
            if (block % PassBlocks == 0) {
                if (block > 0)
                    times.time(endPass);
                beforePass();
                due = std::chrono::steady_clock::now();
            }
            std::this_thread::sleep_until(due += blockPeriod);
            std::copy_n(s.left.data() + at, Block, plugin.left.data());
            std::copy_n(s.right.data() + at, Block, plugin.right.data());
            times.time([&] { plugin.plugin->process(Block, plugin.channels, transport, analysisPass); });
        }
        times.time(endPass);
        plugin.transform().drain();
        state.SetIterationTime(times.total());
    }
    times.report(state);
    state.SetItemsProcessed(int64_t(state.iterations()) * Frames);
}

void processingStopped(Instance& plugin) { plugin.plugin->processingStopped(); }

void CaptureWorstBlock_ours(benchmark::State& state)
{
    Instance plugin;
    renderPasses(plugin, state, true, [&] { processingStopped(plugin); }, [] {});
}

// Each pass plays the repaired clip from its start until the run stops, which
// closes (and deletes) it. The load comes long before the render, as the
// user's click on render comes after the window loaded the files, so the file
// is open and read ahead by then.
void PlaybackWorstBlock_ours(benchmark::State& state)
{
    Instance plugin;
    const std::string clip = repairedClip();
    const std::string played = benchFolder() + "/Wavelab 2 [tw-relay] 2 repaired.wav";
    auto& transform = plugin.transform();
    renderPasses(
        plugin, state, false, [&] { plugin.plugin->switchRunState(false, false); },
        [&] {
            transform.drain();
            fs::copy_file(clip, played, fs::copy_options::overwrite_existing);
            transform.commandPipe().PostToHigh(new Shuttle::LoadRepairedFileCommand(transform, {played}));
            transform.commandPipe().ProcessHigh();
            transform.commandPipe().ProcessLow();
            transform.drain();
        });
}

void PassThroughWorstBlock_ours(benchmark::State& state)
{
    Instance plugin(EntryProtocol::Format::DpmAudioSuite);
    renderPasses(plugin, state, false, [&] { processingStopped(plugin); }, [] {});
}

} // namespace

BENCHMARK(Capture_ours)->Name("Capture/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Capture_editor)->Name("Capture/editor")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Capture_libsndfile)->Name("Capture/libsndfile")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Playback_ours)->Name("Playback/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Playback_libsndfile)->Name("Playback/libsndfile")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CaptureWorstBlock_ours)->Name("CaptureWorstBlock/ours")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(PlaybackWorstBlock_ours)->Name("PlaybackWorstBlock/ours")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(PassThroughWorstBlock_ours)->Name("PassThroughWorstBlock/ours")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
