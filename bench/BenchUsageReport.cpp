// Usage reporting when the user has not enabled it (the default): what an
// editor opening hands to the instance's analytics manager, beside a reporter
// that does nothing and beside the editor opening itself. A disabled manager
// should cost no more than the silent reporter.
#include <benchmark/benchmark.h>

#include "analytics/AnalyticsManager.h"
#include "core/Plugin.h"
#include "product/PluginFactoryImpl.h"

#include <memory>

namespace {

constexpr const char* AnalyticsKey = "SOFTWARE\\Quillex\\VO6\\Analytics";

class SilentReporter final : public UsageReporter {
public:
    void editorOpened(const Util::String&, const Util::String&) override {}
    void flush() override {}
};

// The instance's part of an editor opening's report: the host's text, the
// channel configuration's name, the call.
void reportOpenings(benchmark::State& state, UsageReporter* reporter)
{
    benchmark::DoNotOptimize(reporter);
    for (auto _ : state) {
        reporter->editorOpened(Util::format("%1 %2", "Test Host", 11.3f), "Stereo");
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

void UsageReportDisabledManager(benchmark::State& state)
{
    Util::ConfigFile(AnalyticsKey).SetBool(Analytics::AnalyticsManager::EnableKey, false);
    Analytics::AnalyticsManager::Product product;
    product.settingsKey = AnalyticsKey;
    product.trackingId = PluginFactoryImpl::AnalyticsTrackingId;
    product.applicationName = product.productName = "TW 6 Relay";
    product.applicationVersion = "6.10.2340";
    Analytics::AnalyticsManager manager(product);
    reportOpenings(state, &manager);
}

void UsageReportSilent(benchmark::State& state)
{
    SilentReporter reporter;
    reportOpenings(state, &reporter);
}

// Opening and closing the product's editor off screen, the report included.
void UsageReportEditorOpening(benchmark::State& state)
{
    Util::ConfigFile(AnalyticsKey).SetBool(Analytics::AnalyticsManager::EnableKey, false);
    CoreRecords::Creation creation;
    creation.name = "Bench";
    creation.sampleRate = 48000.0f;
    creation.channelConfiguration = 1;
    std::unique_ptr<PluginCore> instance(PluginFactoryImpl::product().createPlugin(creation));
    PluginEditor::OpenRequest open; // off screen
    open.width = 470;
    open.height = 276;
    for (auto _ : state) {
        if (instance->openEditor(open) != 0) {
            state.SkipWithError("the editor did not open");
            break;
        }
        instance->closeEditor();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(UsageReportDisabledManager)->Name("UsageReport/ours");
BENCHMARK(UsageReportSilent)->Name("UsageReport/silent");
BENCHMARK(UsageReportEditorOpening)->Name("UsageReport/editor-opening")->Unit(benchmark::kMicrosecond);
