// PassThroughBlock: one stereo 512-frame block through PluginCoreCallback
// (selector 22) of the loaded plug-in library, beside memcpy of the same block.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <stdexcept>
#include <vector>

namespace {

using Entry = int32_t (*)(int32_t, uint32_t, uint32_t, void*, void*);
constexpr size_t Frames = 512;

int32_t noReverse(int32_t, uint32_t, uint32_t, void*, void*) { return 0; }

template <typename T>
void put(std::vector<uint8_t>& b, size_t offset, T v) { std::memcpy(b.data() + offset, &v, sizeof v); }

struct LoadedInstance {
    void* library = nullptr;
    Entry entry = nullptr;
    void* instance = nullptr;

    LoadedInstance()
    {
        library = dlopen(RELAY_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!library || !(entry = reinterpret_cast<Entry>(dlsym(library, "PluginCoreCallback"))))
            throw std::runtime_error("cannot load the plug-in library");
        std::vector<uint8_t> record(3120, 0);
        put<uint64_t>(record, 0, reinterpret_cast<uintptr_t>(&noReverse));
        put<uint64_t>(record, 8, 1);
        std::memcpy(record.data() + 16, "Bench", 6);
        put<uint64_t>(record, 3096, reinterpret_cast<uintptr_t>(&instance));
        // Format 4 (an offline format) with flag A clear leaves every block untouched:
        // the figure is the pass through the core, its elements and the shuttle's decision.
        put<uint32_t>(record, 2064 + 1024, 4);
        put<float>(record, 3104, 48000.0f);
        put<uint32_t>(record, 3108, 1);
        entry(1079, 1, 0, nullptr, record.data());
        entry(1079, 5, 0, instance, nullptr);
    }
    ~LoadedInstance()
    {
        entry(1079, 7, 0, instance, nullptr);
        dlclose(library);
    }
};

void PassThroughBlock_ours(benchmark::State& state)
{
    LoadedInstance plugin;
    std::vector<float> left(Frames, 0.5f), right(Frames, -0.5f);
    float* channels[2] = {left.data(), right.data()};
    std::vector<uint8_t> transport(136, 0), block(360, 0);
    put<uint32_t>(transport, 32, 1);
    put<uint64_t>(block, 0, Frames);
    put<uint64_t>(block, 8, reinterpret_cast<uintptr_t>(channels));
    put<uint64_t>(block, 16, reinterpret_cast<uintptr_t>(transport.data()));
    for (auto _ : state) {
        plugin.entry(1079, 22, 0, plugin.instance, block.data());
        benchmark::DoNotOptimize(left.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(Frames));
}

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

} // namespace

BENCHMARK(PassThroughBlock_ours)->Name("PassThroughBlock/ours");
BENCHMARK(PassThroughBlock_memcpy)->Name("PassThroughBlock/memcpy");
