#include <gtest/gtest.h>

#include "ConsoleFixture.h"
#include "core/BufferProfilerRegistry.h"
#include "core/ConsoleCommandManager.h"
#include "io/ConfigFile.h"
#include "ui/RedrawIndicator.h"
#include "ui/ToolWindow.h"

#include <memory>
#include <sstream>

namespace {

// The fixture's instance is made before the test can switch logging on: a
// second instance, made after, is the one that profiles.
struct DiagnosticCommands : ::testing::Test, ConsoleFixture {
    void TearDown() override
    {
        Util::ConfigFile("SOFTWARE/Quillex/TW6Relay").RemoveValue(BufferProfilerRegistry::LoggingSetting);
        UI::RedrawIndicator::instance().setMode(UI::RedrawIndicator::Mode::Off);
    }
};

} // namespace

TEST_F(DiagnosticCommands, PerfThroughTheManagerMeasuresTheInstanceMadeAfterLoggingWasSwitchedOn)
{
    EXPECT_EQ(run("perf status"), (Notice{"Perf Status", "Performance logging: off\nDropout threshold: 90%\nDropout alerts: off"}));
    EXPECT_EQ(run("perf log 1").title, "Reinstantiation Required");

    TestWrapper otherWrapper;
    Plugin profiled(otherWrapper.creation(), factory);
    ASSERT_NE(profiled.profiler(), nullptr);
    ConsoleCommand::ProductCommands::registerAll(profiled.consoleCommands(), profiled);
    processBlocks(profiled, 3, 256);

    box.shown.clear();
    profiled.consoleCommands().run("perf status");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Performance logging: on\nDropout threshold: 90%\nDropout alerts: off");

    const Util::String name = profiled.profiler()->name();
    box.shown.clear();
    profiled.consoleCommands().run("perf copylog " + name);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0], (Notice{"Performance Logged", "Profiler " + name + " results are on the clipboard."}));
    std::istringstream lines(clipboard.text());
    std::string line;
    int blocks = 0;
    for (int n = 0; std::getline(lines, line); ++n)
        if (n >= 3 && line.rfind(std::to_string(blocks) + "\t256\t", 0) == 0)
            ++blocks;
    EXPECT_EQ(blocks, 3) << clipboard.text();
}

TEST_F(DiagnosticCommands, DesignCommandsThroughTheManager)
{
    EXPECT_EQ(run("hotdraw cursor"), (Notice{"Hot Draw", "On via cursor in [0,0 20,20]"}));
    EXPECT_EQ(UI::RedrawIndicator::instance().mode(), UI::RedrawIndicator::Mode::Cursor);

    // The instance has no plug-in window open.
    EXPECT_EQ(run("editpalette").title, "Palette Editor");
    EXPECT_EQ(run("designaid").title, "Design Aid");

    ASSERT_EQ(UI::ToolWindow::find("ParamPanel HostWindow"), nullptr);
    EXPECT_EQ(run("parampanel"), Notice{});
    const UI::ToolWindow* panel = UI::ToolWindow::find("ParamPanel HostWindow");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->title(), "Param Panel");
}
