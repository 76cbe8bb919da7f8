// relay-bench entry: runs every family, then prints for each family the ratio of
// "Family/ours" to each of its peers ("Family/<peer>") measured in the same run
// (of the medians when the run repeats each one).
#include "product/PluginFactoryImpl.h"
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <atomic>
#include <vector>

namespace {

struct Figure {
    double realTimeNs = 0;
    double cpuTimeNs = 0; // steadier than the wall clock where other processes share the cores
    double itemsPerSecond = 0;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (run.error_occurred)
                continue;
            // With --benchmark_repetitions the ratios are of the medians, which
            // one disturbed repetition cannot move.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            Figure f;
            f.realTimeNs = run.GetAdjustedRealTime() * unitToNs(run.time_unit);
            f.cpuTimeNs = run.GetAdjustedCPUTime() * unitToNs(run.time_unit);
            if (auto it = run.counters.find("items_per_second"); it != run.counters.end())
                f.itemsPerSecond = it->second;
            if (median)
                medians_.insert(run.run_name.str());
            else if (medians_.count(run.run_name.str()))
                continue;
            figures_[run.run_name.str()] = f;
            if (median)
                continue;
            if (auto it = run.counters.find("p999_us"); it != run.counters.end())
                worstBlocks_[familyAndMember(run.benchmark_name())] = {it->second, run.counters.at("max_us")};
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::map<std::string, std::map<std::string, Figure>> families;
        for (const auto& [name, figure] : figures_) {
            const auto slash = name.find('/');
            if (slash == std::string::npos)
                continue;
            const auto rest = name.substr(slash + 1);
            families[name.substr(0, slash)][rest.substr(0, rest.find('/'))] = figure;
        }
        std::printf("\n%-22s %-22s %14s %14s %10s %10s\n", "family", "peer", "ours ns", "peer ns", "ours/peer",
                    "cpu o/p");
        for (const auto& [family, members] : families) {
            const auto ours = members.find("ours");
            if (ours == members.end())
                continue;
            for (const auto& [peer, figure] : members) {
                if (peer == "ours" || figure.realTimeNs <= 0)
                    continue;
                const double cpuRatio =
                    figure.cpuTimeNs > 0 ? ours->second.cpuTimeNs / figure.cpuTimeNs : 0.0;
                std::printf("%-22s %-22s %14.1f %14.1f %10.3f %10.3f\n", family.c_str(), peer.c_str(),
                            ours->second.realTimeNs, figure.realTimeNs,
                            ours->second.realTimeNs / figure.realTimeNs, cpuRatio);
            }
        }
        printWorstBlocks();
    }

private:
    struct WorstBlock {
        double p999Us = 0;
        double maxUs = 0;
    };

    // The audio thread's worst calls, each beside the pass-through instance's.
    void printWorstBlocks() const
    {
        const auto base = worstBlocks_.find("PassThroughWorstBlock/ours");
        if (base == worstBlocks_.end())
            return;
        std::printf("\n%-28s %12s %12s %16s\n", "audio thread, per call", "p99.9 us", "max us", "p99.9/passthru");
        for (const auto& [name, worst] : worstBlocks_)
            std::printf("%-28s %12.2f %12.2f %16.2f\n", name.c_str(), worst.p999Us, worst.maxUs,
                        worst.p999Us / base->second.p999Us);
    }

    // "Family/member" without the run's suffixes ("/iterations:3/manual_time").
    static std::string familyAndMember(const std::string& name)
    {
        const auto first = name.find('/');
        return first == std::string::npos ? name : name.substr(0, name.find('/', first + 1));
    }

    static double unitToNs(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1.0;
        }
    }
    std::map<std::string, Figure> figures_;
    std::set<std::string> medians_; // runs whose figure is already their repetitions' median
    std::map<std::string, WorstBlock> worstBlocks_;
};

// Everything the figures write (settings store, shuttle folder, history file)
// goes below a private home that is removed afterwards: a benchmark run never
// touches the user's own settings or files.
std::string makePrivateHome()
{
    char pattern[] = "/tmp/relay-bench-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (!home)
        return {};
    const std::pair<const char*, const char*> vars[] = {
        {"HOME", ""}, {"XDG_DATA_HOME", "/.local/share"}, {"XDG_CONFIG_HOME", "/.config"}, {"XDG_DOCUMENTS_DIR", "/Documents"}};
    for (const auto& [name, sub] : vars) {
        const std::string path = std::string(home) + sub;
        std::filesystem::create_directories(path);
        setenv(name, path.c_str(), 1);
    }
    return home;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string home = makePrivateHome();
    PluginFactoryImpl::product(); // as the library's entry installs it
    // A plug-in always lives in a multi-threaded host: start a second thread so
    // that lock timings include the atomics a single-threaded process skips.
    std::atomic<bool> stop{false};
    std::thread companion([&] {
        while (!stop.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    });
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    stop = true;
    companion.join();
    std::error_code ignored;
    if (!home.empty())
        std::filesystem::remove_all(home, ignored);
    return 0;
}
