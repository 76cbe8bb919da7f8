#include <gtest/gtest.h>

#include "TestWrapper.h"
#include "core/BufferProfiler.h"
#include "core/BufferProfilerRegistry.h"
#include "core/RecordView.h"
#include "io/ConfigFile.h"
#include "platform/MessageBox.h"
#include "platform/ThreadId.h"
#include "product/PluginFactoryImpl.h"
#include "support/TestEnvironment.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Registry = BufferProfilerRegistry;
constexpr float SampleRate = 48000.0f;

// A nanosecond clock that moves only when the burning element moves it.
std::atomic<uint64_t> fakeNow{1'000'000'000};
uint64_t fakeTime() { return fakeNow.load(); }

// An element set that spends `share` of each sub-block's real-time budget: on the fake clock by
// moving it, on the real one by spinning until the steady clock has moved that far. The
// profiler counts in its own clock's ticks, so the logged load matches the share only when
// those ticks were turned into time right.
struct BurningElementSet final : ElementSet {
    double share = 0.0;
    bool fakeClock = false;

    void processSubBlock(uint32_t frames, float* const*, uint32_t, const SideBus*, uint32_t) override
    {
        const auto burn = uint64_t(share * double(frames) * 1e9 / double(SampleRate));
        if (fakeClock) {
            fakeNow += burn;
            return;
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(burn);
        while (std::chrono::steady_clock::now() < until) {
        }
    }
    void start() override {}
    void stop() override {}
    void connect() override {}
    void runPendingCommands() override {}
    uint32_t maxSubBlockSize() const override { return 8192; }
    void beforeBlock(uint32_t, const uint8_t*) override {}
    void afterBlock() override {}
    void bypass(uint64_t, float* const*, float* const*, uint32_t) override {}
    uint32_t elementCount() const override { return 0; }
    uint32_t parameterCount() const override { return 0; }
    uint32_t latency() const override { return 0; }
    uint32_t tailFrames() const override { return 0; }
    void runStateChanged(bool) override {}
    void reconfigure(float, uint32_t) override {}
    uint32_t exchangeHostWord(uint32_t) override { return 0; }
    bool answersYes(uint32_t, uint32_t) override { return true; }
};

class BurnFactory final : public PluginFactory {
public:
    BurningElementSet* lastSet = nullptr;
    double share = 0.0;
    bool fakeClock = false;

    const PluginDefinition& definition(const HostContext& context) const override
    {
        return PluginFactoryImpl::product().definition(context);
    }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin&) override { return nullptr; }
    std::unique_ptr<ElementSet> createElementSet(Plugin&) override { return nullptr; }
    PluginCore* createPlugin(const CoreRecords::Creation& creation) override
    {
        auto set = std::make_unique<BurningElementSet>();
        set->share = share;
        set->fakeClock = fakeClock;
        lastSet = set.get();
        return new Plugin(creation, *this, std::move(set));
    }
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override
    {
        return PluginFactoryImpl::product().createContext(plugin);
    }
};

struct RecordingBox final : Platform::MessageBox {
    struct Shown {
        Util::String title, text;
        uint32_t thread;
    };
    std::vector<Shown> shown;
    void show(const Util::String& title, const Util::String& text, Icon) override
    {
        shown.push_back({title, text, Platform::currentThreadId()});
    }
};

// An instance made through the entry protocol by the burning factory, with
// the product's logging setting as the test chooses.
class ProfiledInstance : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (plugin) {
            EXPECT_EQ(call(7, 0, nullptr), 0);
        }
        PluginFactory::install(PluginFactoryImpl::product());
        Platform::installMessageBox(nullptr);
        Registry::instance().installTimeSource(nullptr);
        Registry::instance().setAlertsEnabled(false);
        Registry::instance().setThresholdPercent(Registry::DefaultThresholdPercent);
        Registry::instance().setPaused(false);
    }

    void create(bool logging, double share, bool fakeClock)
    {
        Util::ConfigFile("SOFTWARE/Quillex/TW6Relay").SetBool(Registry::LoggingSetting, logging);
        factory.share = share;
        factory.fakeClock = fakeClock;
        if (fakeClock)
            Registry::instance().installTimeSource(&fakeTime);
        PluginFactory::install(factory);
        std::vector<uint8_t> record(3120, 0);
        RecordView r(record.data());
        r.setU64(0, reinterpret_cast<uintptr_t>(&TestWrapper::callback));
        r.setU64(8, reinterpret_cast<uintptr_t>(&wrapper));
        r.setText(16, 2048, "Profiled");
        void* created = nullptr;
        r.setU64(3096, reinterpret_cast<uintptr_t>(&created));
        r.setF32(3104, SampleRate);
        r.setU32(3108, 2);
        ASSERT_EQ(call(1, 0, record.data()), 0);
        plugin = static_cast<Plugin*>(static_cast<PluginCore*>(created));
        ASSERT_NE(plugin, nullptr);
        ASSERT_EQ(call(5, 0, nullptr), 0);
    }

    int32_t call(uint32_t selector, uint32_t lockIndex, void* record)
    {
        return EntryDispatcher::dispatch(EntryProtocol::ProtocolNumber, selector, lockIndex, plugin, record);
    }

    // Selector 22 with a stereo block of `frames` (up to MaxFrames); allocates nothing.
    void processBlocks(int count, uint64_t frames)
    {
        float* channels[2] = {left.data(), right.data()};
        std::array<uint8_t, EntryProtocol::Layout::Process::Size> record{};
        const RecordView r(record.data());
        r.set(EntryProtocol::Layout::Process::FrameCount, frames);
        r.setU64(EntryProtocol::Layout::Process::Channels.offset, reinterpret_cast<uintptr_t>(channels));
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(call(22, 0, record.data()), 0);
    }

    static constexpr size_t MaxFrames = 4096;
    TestWrapper wrapper;
    BurnFactory factory;
    Plugin* plugin = nullptr;
    std::vector<float> left = std::vector<float>(MaxFrames), right = std::vector<float>(MaxFrames);
};

} // namespace

TEST_F(ProfiledInstance, WithoutTheLoggingSettingNothingIsInstrumented)
{
    const size_t before = Registry::instance().count();
    create(false, 0.0, true);
    EXPECT_EQ(plugin->profiler(), nullptr);
    EXPECT_EQ(Registry::instance().count(), before);
}

// The element spins until the clock has moved by its share of the budget, so
// no block can log less; a loaded machine can only add time, and the least
// disturbed block shows how little the measurement itself adds. The audio
// side's dropout test turns ticks into time on its own: it must count exactly
// the logged blocks above the threshold.
TEST_F(ProfiledInstance, LoggedLoadFollowsTheShareOfTheBudgetTheElementBurns)
{
    constexpr uint32_t Threshold = 50;
    Registry::instance().setThresholdPercent(Threshold);
    for (double share : {0.2, 0.6}) {
        SCOPED_TRACE(share);
        create(true, share, false);
        ASSERT_NE(plugin->profiler(), nullptr);
        processBlocks(20, 2048);
        const auto log = plugin->profiler()->log();
        ASSERT_EQ(log.size(), 20u);
        double least = 1e9;
        uint64_t aboveThreshold = 0;
        for (const auto& block : log) {
            EXPECT_EQ(block.frames, 2048u);
            EXPECT_GE(block.loadPercent(), share * 100.0) << "block " << block.number;
            least = std::min(least, block.loadPercent());
            aboveThreshold += block.loadPercent() > Threshold ? 1 : 0;
        }
        EXPECT_LE(least, share * 100.0 + 10.0);
        EXPECT_EQ(plugin->profiler()->dropouts(), aboveThreshold);
        EXPECT_EQ(call(7, 0, nullptr), 0);
        plugin = nullptr;
    }
}

TEST_F(ProfiledInstance, DropoutAlertIsRaisedOnTheIdleCallAboveTheThresholdOnly)
{
    struct Case {
        uint32_t threshold;
        double share;
        bool alerts;
        bool expectAlert;
    };
    const Case cases[] = {
        {50, 0.60, true, true},  {50, 0.40, true, false}, {90, 0.95, true, true},
        {90, 0.85, true, false}, {50, 0.80, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.threshold << "% threshold, share " << c.share << ", alerts " << c.alerts);
        RecordingBox box;
        Platform::installMessageBox(&box);
        Registry::instance().setThresholdPercent(c.threshold);
        Registry::instance().setAlertsEnabled(c.alerts);
        create(true, c.share, true);

        std::thread audio([&] { processBlocks(8, 512); });
        audio.join();
        EXPECT_TRUE(box.shown.empty()) << "an alert was raised on the audio thread";
        EXPECT_EQ(plugin->profiler()->dropouts(), c.share * 100 > c.threshold ? 8u : 0u);

        ASSERT_EQ(call(39, 1, nullptr), 0);
        ASSERT_EQ(box.shown.size(), c.expectAlert ? 1u : 0u);
        if (c.expectAlert) {
            EXPECT_EQ(box.shown[0].title, "Dropout Alert");
            EXPECT_NE(box.shown[0].text.find(Util::format("%1%", int(c.share * 100 + 0.5))), Util::String::npos)
                << box.shown[0].text;
            EXPECT_EQ(box.shown[0].thread, Platform::currentThreadId());
        }
        ASSERT_EQ(call(39, 1, nullptr), 0);
        EXPECT_EQ(box.shown.size(), c.expectAlert ? 1u : 0u) << "one dropout run, one alert";

        EXPECT_EQ(call(7, 0, nullptr), 0);
        plugin = nullptr;
        Platform::installMessageBox(nullptr);
    }
}

// More blocks than the log holds, so that the log wraps while counted.
TEST_F(ProfiledInstance, InstrumentedBlocksAllocateNothing)
{
    Registry::instance().setAlertsEnabled(true);
    Registry::instance().setThresholdPercent(10);
    create(true, 0.5, true);
    processBlocks(1, 64); // the block pass's first-block work
    const auto before = TestSupport::threadAllocationCount();
    processBlocks(int(BufferProfiler::DefaultCapacity) + 100, 64);
    EXPECT_EQ(TestSupport::threadAllocationCount() - before, 0u);
    EXPECT_EQ(plugin->profiler()->blocksMeasured(), BufferProfiler::DefaultCapacity + 101);
}

TEST(BufferProfiler, LogKeepsTheNewestBlocksAndClearsAndPauses)
{
    Registry::instance().installTimeSource(&fakeTime);
    BufferProfiler profiler("Unit", {}, {}, 4);
    auto block = [&](uint64_t ns) {
        const uint64_t started = profiler.begin();
        fakeNow += ns;
        profiler.end(started, 480, SampleRate); // a 10 ms budget
    };
    for (uint64_t ms : {1, 2, 3, 4, 5, 6})
        block(ms * 1'000'000);
    auto log = profiler.log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log.front().number, 2u);
    EXPECT_DOUBLE_EQ(log.front().loadPercent(), 30.0);
    EXPECT_EQ(log.back().number, 5u);
    EXPECT_DOUBLE_EQ(log.back().loadPercent(), 60.0);

    profiler.clearLog();
    EXPECT_TRUE(profiler.log().empty());
    block(1'000'000);
    log = profiler.log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].number, 0u);

    Registry::instance().setPaused(true);
    block(9'500'000); // above the 90% default: counted though not logged
    Registry::instance().setPaused(false);
    EXPECT_EQ(profiler.log().size(), 1u);
    EXPECT_EQ(profiler.dropouts(), 1u);
    ASSERT_TRUE(profiler.takeAlert().has_value());
    EXPECT_FALSE(profiler.takeAlert().has_value());
    Registry::instance().installTimeSource(nullptr);
}
