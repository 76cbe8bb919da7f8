// PassThroughBlock: one stereo 512-frame block through PluginCoreCallback
// (selector 22) of the loaded plug-in library, beside memcpy of the same block
// and beside the same pass with the inline profiler measuring every block.
// InlineProfiler/block is that measurement alone, what the profiled pass adds.
#include <benchmark/benchmark.h>

#include "core/BufferProfiler.h"
#include "core/BufferProfilerRegistry.h"
#include "io/ConfigFile.h"
#include "wrapper/HostCallbacks.h"
#include "wrapper/PluginInstance.h"
#include "wrapper/PluginLibrary.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr size_t Frames = 512;

// Format 4 (an offline format) without the analysis flag leaves every block
// untouched: the figure is the pass through the core, its elements and the
// shuttle's decision.
Wrapper::HostDescription offlineHost()
{
    Wrapper::HostDescription host;
    host.formatIdentifier = EntryProtocol::Format::DpmAudioSuite;
    return host;
}

// The product's logging switch, on while an instance is made and then put back
// as it was: the instance reads it once, at creation.
class ProfilingSwitch {
public:
    explicit ProfilingSwitch(bool on)
    {
        const bool ifAbsentFalse = settings_.GetBool(Key, false);
        const bool ifAbsentTrue = settings_.GetBool(Key, true);
        if (ifAbsentFalse == ifAbsentTrue)
            previous_ = ifAbsentFalse;
        settings_.SetBool(Key, on);
    }
    ~ProfilingSwitch()
    {
        if (previous_)
            settings_.SetBool(Key, *previous_);
        else
            settings_.RemoveValue(Key);
    }

private:
    static constexpr const char* Key = BufferProfilerRegistry::LoggingSetting;
    Util::ConfigFile settings_{"SOFTWARE/Quillex/TW6Relay"};
    std::optional<bool> previous_;
};

void passThrough(benchmark::State& state, bool profiled)
{
    const Wrapper::PluginLibrary library(RELAY_PLUGIN_PATH);
    Wrapper::HostCallbacks host(offlineHost());
    Wrapper::PluginInstance plugin(library.entry(), host, "Bench");
    {
        const ProfilingSwitch logging(profiled);
        plugin.create(48000.0f, EntryProtocol::channelConfigurationFor(2));
    }
    plugin.activate(Wrapper::PluginInstance::AudioThread);
    std::vector<float> left(Frames, 0.5f), right(Frames, -0.5f);
    float* channels[2] = {left.data(), right.data()};
    const Wrapper::Transport transport{0.0, true};
    for (auto _ : state) {
        plugin.process(Frames, channels, transport);
        benchmark::DoNotOptimize(left.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Frames));
}

void PassThroughBlock_ours(benchmark::State& state) { passThrough(state, false); }
void PassThroughBlock_profiled(benchmark::State& state) { passThrough(state, true); }

void PassThroughBlock_memcpy(benchmark::State& state)
{
    std::vector<float> inLeft(Frames, 0.5f), inRight(Frames, -0.5f), outLeft(Frames), outRight(Frames);
    for (auto _ : state) {
        std::memcpy(outLeft.data(), inLeft.data(), Frames * sizeof(float));
        std::memcpy(outRight.data(), inRight.data(), Frames * sizeof(float));
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(outRight.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Frames));
}

// One block's begin() and end() with nothing between them: two clock reads,
// the dropout test and the log slot's stores.
void InlineProfiler_block(benchmark::State& state)
{
    BufferProfiler profiler("Bench");
    for (auto _ : state) {
        const uint64_t started = profiler.begin();
        benchmark::ClobberMemory();
        profiler.end(started, Frames, 48000.0f);
    }
    benchmark::DoNotOptimize(profiler.blocksMeasured());
}

} // namespace

BENCHMARK(InlineProfiler_block)->Name("InlineProfiler/block");
BENCHMARK(PassThroughBlock_ours)->Name("PassThroughBlock/ours");
BENCHMARK(PassThroughBlock_profiled)->Name("PassThroughBlock/profiled");
BENCHMARK(PassThroughBlock_memcpy)->Name("PassThroughBlock/memcpy");
