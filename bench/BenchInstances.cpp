// Many instances in one host, through PluginCoreCallback of the loaded plug-in
// library as the wrapper drives it:
// - InstanceLifecycle/ours: create (selector 1), activate (5), deactivate (6)
//   and destroy (7) one stereo instance;
// - InstanceMemory/ours: the resident memory that each of 100 live, active
//   instances adds, once one instance made the process's shared state;
// - IdleService/ours: one idle-service call (39) of an instance with no editor
//   and nothing to do.
#include <benchmark/benchmark.h>

#include "wrapper/HostCallbacks.h"
#include "wrapper/PluginInstance.h"
#include "wrapper/PluginLibrary.h"

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>

namespace {

constexpr int LiveInstances = 100;

std::unique_ptr<Wrapper::PluginInstance> activeInstance(const Wrapper::PluginLibrary& library,
                                                        Wrapper::HostCallbacks& host)
{
    auto plugin = std::make_unique<Wrapper::PluginInstance>(library.entry(), host, "Bench");
    plugin->create(48000.0f, EntryProtocol::channelConfigurationFor(2));
    plugin->activate();
    return plugin;
}

// The process's resident set in bytes (/proc/self/statm, second field).
int64_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * int64_t(sysconf(_SC_PAGESIZE));
}

void InstanceLifecycle_ours(benchmark::State& state)
{
    const Wrapper::PluginLibrary library(RELAY_PLUGIN_PATH);
    Wrapper::HostCallbacks host(Wrapper::HostDescription{});
    const auto first = activeInstance(library, host); // the process's shared state is made once
    for (auto _ : state) {
        Wrapper::PluginInstance plugin(library.entry(), host, "Bench");
        plugin.create(48000.0f, EntryProtocol::channelConfigurationFor(2));
        if (plugin.activate() != 0 || plugin.deactivate() != 0) {
            state.SkipWithError("the instance did not activate and deactivate");
            break;
        }
        plugin.destroy();
    }
    state.SetItemsProcessed(state.iterations());
}

void InstanceMemory_ours(benchmark::State& state)
{
    const Wrapper::PluginLibrary library(RELAY_PLUGIN_PATH);
    Wrapper::HostCallbacks host(Wrapper::HostDescription{});
    const int64_t empty = residentBytes();
    const auto first = activeInstance(library, host);
    const int64_t withFirst = residentBytes();
    int64_t added = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<Wrapper::PluginInstance>> live;
        const int64_t before = residentBytes();
        for (int i = 0; i < LiveInstances; ++i)
            live.push_back(activeInstance(library, host));
        added = residentBytes() - before;
    }
    state.counters["first KiB"] = double(withFirst - empty) / 1024.0;
    state.counters["KiB per instance"] = double(added) / LiveInstances / 1024.0;
}

void IdleService_ours(benchmark::State& state)
{
    const Wrapper::PluginLibrary library(RELAY_PLUGIN_PATH);
    Wrapper::HostCallbacks host(Wrapper::HostDescription{});
    const auto plugin = activeInstance(library, host);
    for (int i = 0; i < 10; ++i) // whatever the first calls set up
        plugin->idle();
    for (auto _ : state)
        benchmark::DoNotOptimize(plugin->idle());
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(InstanceLifecycle_ours)->Name("InstanceLifecycle/ours")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InstanceMemory_ours)->Name("InstanceMemory/ours")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(IdleService_ours)->Name("IdleService/ours")->Unit(benchmark::kMicrosecond)->UseRealTime();
