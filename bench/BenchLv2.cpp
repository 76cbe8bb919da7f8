// The LV2 plug-in beside the core it wraps, both loaded as hosts load them:
// PassThroughBlock/lv2 is one stereo 512-frame block through the plug-in's
// run(), /lv2-in-place the same with one buffer per channel for input and
// output (PassThroughBlock/ours is the block through PluginCoreCallback);
// /core-as-lv2 is the core alone as the module drives it (its host callbacks,
// name, activation and rolling transport) without the module, so that /lv2 and
// /lv2-in-place over /core-as-lv2 is what the module itself adds;
// Lv2Instantiate/ours loads the plug-in module, instantiates the stereo
// plug-in (which loads the core beside it and creates its instance) and
// unloads everything again, Lv2Instantiate/core does the core's part alone.
#ifdef RELAY_LV2_MODULE
#include <benchmark/benchmark.h>

#include "lv2/RelayHostCallbacks.h"
#include "wrapper/HostCallbacks.h"
#include "wrapper/PluginInstance.h"
#include "wrapper/PluginLibrary.h"

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <lv2/core/lv2.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Frames = 512;
constexpr const char* Stereo = "http://quillex.example/lv2/tw6relay/stereo";

// The module and its stereo descriptor. The instances get no features: a
// block then does everything but ask the worker for the idle service.
class Lv2Module {
public:
    Lv2Module() : handle_(dlopen(RELAY_LV2_MODULE, RTLD_NOW | RTLD_LOCAL))
    {
        if (!handle_)
            throw std::runtime_error(dlerror());
        auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(handle_, "lv2_descriptor"));
        for (uint32_t i = 0; entry && entry(i); ++i)
            if (std::strcmp(entry(i)->URI, Stereo) == 0)
                descriptor_ = entry(i);
        if (!descriptor_)
            throw std::runtime_error("no stereo plug-in in " RELAY_LV2_MODULE);
    }
    ~Lv2Module() { dlclose(handle_); }
    const LV2_Descriptor& descriptor() const { return *descriptor_; }

private:
    void* handle_;
    const LV2_Descriptor* descriptor_ = nullptr;
};

// Separate input and output buffers (lv2bench's, Ardour's) cost the wrapper a
// copy of the block before the core processes it in place; in place (the host
// hands the same buffer to both ports) there is none.
void runBlocks(benchmark::State& state, bool inPlace)
{
    const Lv2Module module;
    const LV2_Descriptor& d = module.descriptor();
    const LV2_Feature* const features[] = {nullptr};
    LV2_Handle instance = d.instantiate(&d, 48000.0, "", features);
    if (!instance) {
        state.SkipWithError("the plug-in did not instantiate");
        return;
    }
    std::vector<float> inLeft(Frames, 0.5f), inRight(Frames, -0.5f), outLeft(Frames), outRight(Frames);
    float pass = 0.0f, latency = 0.0f;
    d.connect_port(instance, 0, inLeft.data());
    d.connect_port(instance, 1, inRight.data());
    d.connect_port(instance, 2, inPlace ? inLeft.data() : outLeft.data());
    d.connect_port(instance, 3, inPlace ? inRight.data() : outRight.data());
    d.connect_port(instance, 5, &pass);
    d.connect_port(instance, 6, &latency);
    d.activate(instance);
    for (auto _ : state) {
        d.run(instance, Frames);
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(inLeft.data());
        benchmark::ClobberMemory();
    }
    d.deactivate(instance);
    d.cleanup(instance);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Frames));
}

// What RelayPlugin's constructor, activate() and run() ask of the core, in the
// same order, with the same host callbacks: the pass is not sent, the
// transport rolls from 0 and advances by the block.
void PassThroughBlock_coreAsLv2(benchmark::State& state)
{
    const Wrapper::PluginLibrary library(RELAY_PLUGIN_PATH);
    Lv2::RelayHostCallbacks host;
    Wrapper::PluginInstance plugin(library.entry(), host, "TW Relay");
    benchmark::DoNotOptimize(plugin.information());
    plugin.create(48000.0f, EntryProtocol::channelConfigurationFor(2));
    plugin.activate(Wrapper::PluginInstance::UiThread);
    host.setLatency(plugin.statusWord(0));
    std::vector<float> left(Frames, 0.5f), right(Frames, -0.5f);
    float* channels[2] = {left.data(), right.data()};
    double position = 0.0;
    for (auto _ : state) {
        plugin.process(Frames, channels, {position, true}, false);
        position += Frames;
        benchmark::DoNotOptimize(left.data());
        benchmark::ClobberMemory();
    }
    plugin.switchRunState(false, false, Wrapper::PluginInstance::AudioThread);
    plugin.deactivate(Wrapper::PluginInstance::UiThread);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Frames));
}

void PassThroughBlock_lv2(benchmark::State& state) { runBlocks(state, false); }
void PassThroughBlock_lv2InPlace(benchmark::State& state) { runBlocks(state, true); }

void Lv2Instantiate_ours(benchmark::State& state)
{
    const LV2_Feature* const features[] = {nullptr};
    for (auto _ : state) {
        const Lv2Module module;
        const LV2_Descriptor& d = module.descriptor();
        LV2_Handle instance = d.instantiate(&d, 48000.0, "", features);
        if (!instance) {
            state.SkipWithError("the plug-in did not instantiate");
            return;
        }
        d.cleanup(instance);
    }
}

void Lv2Instantiate_core(benchmark::State& state)
{
    for (auto _ : state) {
        const Wrapper::PluginLibrary library(RELAY_PLUGIN_PATH);
        Wrapper::HostCallbacks host(Wrapper::HostDescription{});
        Wrapper::PluginInstance plugin(library.entry(), host, "Bench");
        plugin.create(48000.0f, EntryProtocol::channelConfigurationFor(2));
        plugin.destroy();
    }
}

} // namespace

BENCHMARK(PassThroughBlock_coreAsLv2)->Name("PassThroughBlock/core-as-lv2");
BENCHMARK(PassThroughBlock_lv2)->Name("PassThroughBlock/lv2");
BENCHMARK(PassThroughBlock_lv2InPlace)->Name("PassThroughBlock/lv2-in-place");
BENCHMARK(Lv2Instantiate_ours)->Name("Lv2Instantiate/ours")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(Lv2Instantiate_core)->Name("Lv2Instantiate/core")->Unit(benchmark::kMillisecond)->Iterations(20);
#endif
