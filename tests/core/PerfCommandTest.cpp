#include <gtest/gtest.h>

#include "core/BufferProfiler.h"
#include "core/BufferProfilerRegistry.h"
#include "core/PerfCommand.h"
#include "io/ConfigFile.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"

#include <atomic>
#include <memory>
#include <sstream>
#include <vector>

namespace {

using Registry = BufferProfilerRegistry;

std::atomic<uint64_t> now{5'000'000'000};
uint64_t fakeTime() { return now.load(); }

struct Box final : Platform::MessageBox {
    std::vector<std::pair<Util::String, Util::String>> shown; // title, text
    void show(const Util::String& title, const Util::String& text, Icon) override { shown.emplace_back(title, text); }
};

const char* const NoProfilers = "There are no profilers registered at this time. You must instrument at least one "
                                "function with a BufferProfiler in order to use the inline profiling tools.";

class Perf : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::installMessageBox(&box);
        Registry::instance().installTimeSource(&fakeTime);
    }
    void TearDown() override
    {
        Platform::installMessageBox(nullptr);
        Registry::instance().installTimeSource(nullptr);
        Registry::instance().setThresholdPercent(Registry::DefaultThresholdPercent);
        Registry::instance().setAlertsEnabled(false);
        Registry::instance().setPaused(false);
    }

    // Runs a line and answers the one message it showed.
    std::pair<Util::String, Util::String> run(const Util::String& line, const BufferProfiler* own = nullptr)
    {
        box.shown.clear();
        PerfCommand(settings, own).consoleCommand(line);
        EXPECT_EQ(box.shown.size(), 1u) << line;
        return box.shown.empty() ? std::pair<Util::String, Util::String>{} : box.shown.back();
    }

    static void measure(BufferProfiler& p, uint64_t frames, uint64_t ns)
    {
        const uint64_t started = p.begin();
        now += ns;
        p.end(started, frames, 48000.0f);
    }

    Box box;
    Util::ConfigFile settings{"SOFTWARE/Quillex/TW6Relay"};
};

const char* const Usage =
    "Quillex inline profiler supported commands\n\n"
    "perf status | Shows inline profiler status\n"
    "perf log <0 or 1>| Enables or disables full data dumps to the clipboard (requires reinstantiation)\n"
    "perf pause <0 or 1>| Pauses or unpauses profiler logging\n"
    "perf clearlog | Clears logged data from memory\n"
    "perf threshold <new threshold percent> | Sets dropout threshold\n"
    "perf showalerts <0 or 1>| Enables or disables dropout alerts\n"
    "perf list | Shows a list of all registered profilers\n"
    "perf copylog <profiler name or group index>| Copies the full data log for a profiler or profiler group to the "
    "clipboard";

} // namespace

// Lines that change nothing or only settings, in order: each answer after the
// settings the earlier lines made.
TEST_F(Perf, SettingLinesAndTheirAnswers)
{
    BufferProfiler own("Own");
    struct Case {
        const char* line;
        const BufferProfiler* profiler;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"perf", nullptr, "Perf Usage", Usage},
        {"perf frobnicate", nullptr, "Perf Usage", Usage},
        {"perf status", nullptr, "Perf Status", "Performance logging: off\nDropout threshold: 90%\nDropout alerts: off"},
        {"perf status", &own, "Perf Status", "Performance logging: on\nDropout threshold: 90%\nDropout alerts: off"},
        {"perf threshold 75%", &own, "Perf Status", "Performance logging: on\nDropout threshold: 75%\nDropout alerts: off"},
        {"perf threshold 60", &own, "Perf Status", "Performance logging: on\nDropout threshold: 60%\nDropout alerts: off"},
        {"perf threshold much", &own, "Perf Usage", Usage},
        {"perf threshold 0%", &own, "Perf Usage", Usage},
        {"perf showalerts 1", &own, "Perf Status", "Performance logging: on\nDropout threshold: 60%\nDropout alerts: on"},
        {"perf disablealerts", &own, "Perf Status", "Performance logging: on\nDropout threshold: 60%\nDropout alerts: off"},
        {"perf enablealerts", &own, "Perf Status", "Performance logging: on\nDropout threshold: 60%\nDropout alerts: on"},
        {"perf pause 1", &own, "Perf Status", "Performance logging: paused\nDropout threshold: 60%\nDropout alerts: on"},
        {"perf pause 1", nullptr, "Perf Status", "Performance logging: off\nDropout threshold: 60%\nDropout alerts: on"},
        {"perf pause 0", &own, "Perf Status", "Performance logging: on\nDropout threshold: 60%\nDropout alerts: on"},
        {"perf pause maybe", &own, "Perf Usage", Usage},
        {"perf log 2", &own, "Perf Usage", Usage},
    };
    for (const Case& c : cases) {
        const auto [title, text] = run(c.line, c.profiler);
        EXPECT_EQ(title, c.title) << c.line;
        EXPECT_EQ(text, c.text) << c.line;
    }
    EXPECT_EQ(Registry::instance().thresholdPercent(), 60u);
    EXPECT_TRUE(Registry::instance().alertsEnabled());
}

TEST_F(Perf, LoggingSwitchIsKeptForTheNextInstance)
{
    for (const char* line : {"perf log 1", "perf log 0", "perf enablelogging", "perf disablelogging"}) {
        const bool on = Util::String(line) == "perf log 1" || Util::String(line) == "perf enablelogging";
        settings.SetBool(Registry::LoggingSetting, !on);
        const auto [title, text] = run(line);
        EXPECT_EQ(title, "Reinstantiation Required") << line;
        EXPECT_EQ(text, "You must reinstantiate for logging enable/disable to take effect.");
        EXPECT_EQ(settings.GetBool(Registry::LoggingSetting, !on), on) << line;
    }
}

TEST_F(Perf, WithoutProfilersEveryLookUpSaysSo)
{
    ASSERT_EQ(Registry::instance().count(), 0u);
    for (const char* line : {"perf list", "perf clearlog", "perf copylog 0"}) {
        const auto [title, text] = run(line);
        EXPECT_EQ(title, "No Profilers Available") << line;
        EXPECT_EQ(text, NoProfilers) << line;
    }
    const auto [title, text] = run("perf copylog");
    EXPECT_EQ(title, "No Profiler Given");
    EXPECT_EQ(text, "You must give a profiler name or index to copy results");
}

TEST_F(Perf, ListShowsGroupsThenGlobalProfilers)
{
    BufferProfiler a("Voice A", "Voices", "Synth"), b("Voice B", "Voices", "Synth");
    BufferProfiler c("Filter", "Effects", "Synth"), d("Delay", "Effects", "Bus");
    BufferProfiler pass("Block Pass 1"), child("Meter", {}, "Block Pass 1");
    const auto [title, text] = run("perf list");
    EXPECT_EQ(title, "Profiler List");
    EXPECT_EQ(text, "These are all of the registered profilers.\n"
                    "\nGroup 0 (parent Synth): Voice A, Voice B"
                    "\nGroup 1 (parent Synth): Filter, Delay warning! inconsistent parent within group!"
                    "\nGlobal: Block Pass 1"
                    "\nGlobal: Meter (parent Block Pass 1)");
}

TEST_F(Perf, CopyLogPutsEachBlockOnTheClipboardTabSeparated)
{
    BufferProfiler pass("Block Pass 1"), voice("Voice", "Voices", "Block Pass 1");
    measure(pass, 480, 2'500'000); // 25% of 10 ms
    measure(pass, 960, 19'000'000); // 95% of 20 ms: above the 90% threshold
    measure(voice, 480, 1'000'000);

    auto [title, text] = run("perf copylog Block Pass 1");
    EXPECT_EQ(title, "Performance Logged");
    EXPECT_EQ(text, "Profiler Block Pass 1 results are on the clipboard.");
    std::istringstream lines(Platform::clipboard().text());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Profiler Block Pass 1");
    std::getline(lines, line);
    EXPECT_EQ(line, "Sampling rate 48000 Hz");
    std::getline(lines, line);
    EXPECT_EQ(line, "Block\tFrames\tTime (us)\tBudget (us)\tLoad (%)\tDropout");
    struct Row {
        int block, frames;
        double time, budget, load;
        std::string dropout;
    };
    const Row expected[] = {{0, 480, 2500, 10000, 25, "no"}, {1, 960, 19000, 20000, 95, "yes"}};
    for (const Row& row : expected) {
        ASSERT_TRUE(std::getline(lines, line));
        std::istringstream cells(line);
        Row got;
        cells >> got.block >> got.frames >> got.time >> got.budget >> got.load >> std::ws;
        std::getline(cells, got.dropout);
        EXPECT_EQ(got.block, row.block);
        EXPECT_EQ(got.frames, row.frames);
        EXPECT_DOUBLE_EQ(got.time, row.time);
        EXPECT_DOUBLE_EQ(got.budget, row.budget);
        EXPECT_DOUBLE_EQ(got.load, row.load);
        EXPECT_EQ(got.dropout, row.dropout);
    }
    EXPECT_FALSE(std::getline(lines, line)) << "one line per block: " << line;

    std::tie(title, text) = run("perf copylog 0");
    EXPECT_EQ(text, "Profiler group 0 results are on the clipboard.");
    EXPECT_EQ(Platform::clipboard().text().rfind("Profiler group Voices: Parent profiler: Block Pass 1\nProfiler Voice\n", 0),
              0u)
        << Platform::clipboard().text();

    for (const char* wrong : {"Block", "1", "-1", "99999999999"}) {
        std::tie(title, text) = run(Util::String("perf copylog ") + wrong);
        EXPECT_EQ(title, "Profiler Not Found");
        EXPECT_EQ(text, Util::format("'%1' is not a valid profiler name or group index.", wrong));
    }

    std::tie(title, text) = run("perf clearlog");
    EXPECT_EQ(title, "Logs Cleared");
    EXPECT_EQ(text, "Logged data has been cleared.");
    EXPECT_TRUE(pass.log().empty());
    EXPECT_TRUE(voice.log().empty());
}
