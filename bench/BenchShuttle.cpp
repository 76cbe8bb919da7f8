// Capture and Playback: the whole plug-in capturing a one-minute stereo clip at
// 48 kHz in 512-frame blocks (and playing a repaired one back), entered through
// the entry protocol, beside libsndfile alone writing (reading) the same blocks.
// Figures are per clip; items are frames, so items/s over 48000 is times real time.
#include <benchmark/benchmark.h>

#include "core/EntryDispatcher.h"
#include "core/Plugin.h"
#include "core/RecordView.h"
#include "platform/Folders.h"
#include "platform/ProcessInfo.h"
#include "platform/Shell.h"
#include "shuttle/LoadRepairedFileCommand.h"
#include "shuttle/Transform.h"
#include "util/ConfigFile.h"
#include "ReplyingPeer.h"

#include <chrono>
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

int32_t quietWrapper(int32_t, uint32_t, uint32_t, void*, void*) { return 1; }

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

// One instance as the wrapper makes it, presenting itself as Wavelab.
struct Instance {
    NoShell shell;
    PluginCore* core = nullptr;
    std::vector<uint8_t> transport = std::vector<uint8_t>(136, 0);
    std::vector<uint8_t> block = std::vector<uint8_t>(360, 0);
    std::vector<float> left = std::vector<float>(Block), right = std::vector<float>(Block);
    float* channels[2] = {left.data(), right.data()};

    Instance()
    {
        benchFolder();
        Platform::installShell(&shell);
        Platform::overrideHostProcessFileName("WaveLab");
        std::vector<uint8_t> record(3120, 0);
        RecordView r(record.data());
        r.setU64(0, reinterpret_cast<uintptr_t>(&quietWrapper));
        r.setText(16, 2048, "Bench");
        void* created = nullptr;
        r.setU64(3096, reinterpret_cast<uintptr_t>(&created));
        r.setF32(3104, float(Rate));
        r.setU32(3108, 1);
        EntryDispatcher::dispatch(1079, 1, 0, nullptr, record.data());
        core = static_cast<PluginCore*>(created);
        EntryDispatcher::dispatch(1079, 5, 0, core, nullptr);
        RecordView b(block.data());
        b.setU64(0, Block);
        b.setU64(8, reinterpret_cast<uintptr_t>(channels));
        b.setU64(16, reinterpret_cast<uintptr_t>(transport.data()));
        RecordView(transport.data()).setU32(32, 1);
    }
    ~Instance()
    {
        EntryDispatcher::dispatch(1079, 7, 0, core, nullptr);
        Platform::installShell(nullptr);
        Platform::overrideHostProcessFileName("");
    }
    DSP::Transform& transform() { return dynamic_cast<DSP::Transform&>(static_cast<Plugin*>(core)->elementSet()); }

    // The whole clip, block by block, with flag A as given.
    void render(bool flagA, bool copyIn)
    {
        RecordView(block.data()).setU32(352, flagA ? 1 : 0);
        const auto& s = signal();
        for (uint32_t at = 0; at < Frames; at += Block) {
            if (copyIn) {
                std::copy_n(s.left.data() + at, Block, left.data());
                std::copy_n(s.right.data() + at, Block, right.data());
            }
            EntryDispatcher::dispatch(1079, 22, 0, core, block.data());
        }
    }
};

void Capture_ours(benchmark::State& state)
{
    Instance plugin;
    for (auto _ : state) {
        plugin.render(true, true);
        EntryDispatcher::dispatch(1079, 26, 0, plugin.core, nullptr); // processing stopped: the clip closes
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
        EntryDispatcher::dispatch(1079, 26, 0, plugin.core, nullptr);
        state.PauseTiming();
        plugin.transform().drain();
        for (int i = 0; i < 100 && plugin.transform().requestOutstanding(); ++i) {
            EntryDispatcher::dispatch(1079, 39, 0, plugin.core, nullptr);
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

} // namespace

BENCHMARK(Capture_ours)->Name("Capture/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Capture_editor)->Name("Capture/editor")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Capture_libsndfile)->Name("Capture/libsndfile")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Playback_ours)->Name("Playback/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Playback_libsndfile)->Name("Playback/libsndfile")->Unit(benchmark::kMillisecond)->UseRealTime();
