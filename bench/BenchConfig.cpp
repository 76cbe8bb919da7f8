// The settings store: one read and one write through ConfigFile, each opening,
// acting on and closing the database as every call does.
#include <benchmark/benchmark.h>

#include "platform/posix/SqliteSettingsStore.h"
#include "io/ConfigFile.h"

#include <filesystem>
#include <random>

namespace {

// A private database in a fresh temporary folder, removed afterwards.
class BenchStore {
public:
    BenchStore()
        : folder_(std::filesystem::temp_directory_path() / ("relay-bench-config-" + std::to_string(std::random_device()()))),
          store_((folder_ / "registry.sqlite3").string()), config_("SOFTWARE\\Quillex\\TW6Relay", store_)
    {
        config_.SetUInt("Counter", 1);
        config_.SetString("ShuttleFolder", "/home/user/.local/share/Quillex/Relay");
    }
    ~BenchStore()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    Util::ConfigFile& config() { return config_; }

private:
    std::filesystem::path folder_;
    Platform::Posix::SqliteSettingsStore store_;
    Util::ConfigFile config_;
};

void ConfigGet(benchmark::State& state)
{
    BenchStore store;
    for (auto _ : state)
        benchmark::DoNotOptimize(store.config().GetUInt("Counter", 0));
    state.SetItemsProcessed(state.iterations());
}

void ConfigSet(benchmark::State& state)
{
    BenchStore store;
    uint32_t value = 0;
    for (auto _ : state)
        store.config().SetUInt("Counter", ++value);
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(ConfigGet)->Name("ConfigGet/ours");
BENCHMARK(ConfigSet)->Name("ConfigSet/ours");
