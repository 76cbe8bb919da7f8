#include <gtest/gtest.h>

#include "core/ConsoleCommandManager.h"
#include "support/RecordingMessageBox.h"

#include <string>
#include <vector>

namespace {

using TestSupport::Notice;

struct Recorder final : ConsoleCommand::Delegate {
    std::vector<std::string> lines;
    void consoleCommand(const Util::String& line) override { lines.push_back(line); }
};

class ConsoleCommandManagerTest : public ::testing::Test {
protected:
    void SetUp() override { Platform::installMessageBox(&box); }
    void TearDown() override { Platform::installMessageBox(nullptr); }

    // Runs a line and answers the one notice it showed.
    Notice noticeOf(const std::string& line)
    {
        box.shown.clear();
        manager.run(line);
        EXPECT_EQ(box.shown.size(), 1u) << line;
        return box.shown.empty() ? Notice{} : box.shown.front();
    }

    TestSupport::RecordingMessageBox box;
    ConsoleCommand::Manager manager;
    Recorder zeta, alpha, usage;
};

const char* const HelpHelp = "Displays help about console commands. If given no arguments, this will list all available "
                             "commands. If given the name of a specific command, this will show help for that command.";

TEST_F(ConsoleCommandManagerTest, HelpIsTheFirstCommandOfEveryManager)
{
    const auto commands = manager.commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].name, "help");
    EXPECT_EQ(manager.name(), "Console Command Manager");
}

TEST_F(ConsoleCommandManagerTest, HelpAnswersEachFormOfTheLine)
{
    manager.add({"zeta", "Last by name.", {}}, zeta);
    manager.add({"alpha", "First by name.", {}}, alpha);
    manager.add({"usage", "Takes words. Usage: ", " [a|b] [seed]"}, usage);

    const struct {
        const char* line;
        Notice notice;
    } cases[] = {
        {"help", {"Console Commands List",
                  "Type \"help <command>\" for more information on a command:\nalpha\nhelp\nusage\nzeta\n"}},
        {"help help", {"Console Command Help for \"help\"", HelpHelp}},
        {"help zeta", {"Console Command Help for \"zeta\"", "Last by name."}},
        {"help usage", {"Console Command Help for \"usage\"", "Takes words. Usage: usage [a|b] [seed]"}},
        {"HELP   alpha  ", {"Console Command Help for \"alpha\"", "First by name."}},
        {"help nosuch", {"Console Command Help", "\"nosuch\" is not a console command."}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(noticeOf(c.line), c.notice) << c.line;
    EXPECT_TRUE(zeta.lines.empty());
}

TEST_F(ConsoleCommandManagerTest, TheNamedCommandGetsTheWholeLine)
{
    manager.add({"zeta", "z", {}}, zeta);
    manager.add({"alpha", "a", {}}, alpha);
    auto owned = std::make_unique<Recorder>();
    Recorder& ownedRecorder = *owned;
    manager.add({"owned", "o", {}}, std::move(owned));

    const std::vector<std::string> lines = {"zeta", "  ZETA 3x  42", "alpha session", "owned one two", "zetas"};
    for (const auto& line : lines)
        manager.run(line);
    EXPECT_EQ(zeta.lines, (std::vector<std::string>{"zeta", "  ZETA 3x  42"}));
    EXPECT_EQ(alpha.lines, (std::vector<std::string>{"alpha session"}));
    EXPECT_EQ(ownedRecorder.lines, (std::vector<std::string>{"owned one two"}));
}

TEST_F(ConsoleCommandManagerTest, LinesNamingNoCommandReachTheAttachedDelegatesWhileAttached)
{
    manager.add({"zeta", "z", {}}, zeta);
    Recorder window, other;
    {
        auto first = manager.attach(window);
        auto second = manager.attach(other);
        manager.run("relay display state on");
        manager.run("zeta");
        manager.run("   ");
    }
    manager.run("relay display state off");
    EXPECT_EQ(window.lines, (std::vector<std::string>{"relay display state on"}));
    EXPECT_EQ(other.lines, window.lines);
    EXPECT_EQ(zeta.lines, (std::vector<std::string>{"zeta"}));
    EXPECT_TRUE(box.shown.empty());
}

TEST_F(ConsoleCommandManagerTest, AMovedAttachmentDetachesOnce)
{
    Recorder window;
    auto first = manager.attach(window);
    ConsoleCommand::Manager::Attachment moved = std::move(first);
    first = ConsoleCommand::Manager::Attachment();
    manager.run("anything");
    moved = ConsoleCommand::Manager::Attachment();
    manager.run("after");
    EXPECT_EQ(window.lines, (std::vector<std::string>{"anything"}));
}

TEST_F(ConsoleCommandManagerTest, ANameAddedAgainKeepsItsPlace)
{
    manager.add({"zeta", "old", {}}, zeta);
    manager.add({"alpha", "a", {}}, alpha);
    manager.add({"zeta", "new", {}}, usage);
    manager.run("zeta again");
    const auto commands = manager.commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[1].name, "zeta");
    EXPECT_EQ(commands[1].help, "new");
    EXPECT_TRUE(zeta.lines.empty());
    EXPECT_EQ(usage.lines, (std::vector<std::string>{"zeta again"}));
}

TEST(ConsoleCommandWords, ArgumentsAreTheWordsAfterTheFirst)
{
    EXPECT_EQ(ConsoleCommand::Manager::arguments("  scramble   3x 42 "), (std::vector<std::string>{"3x", "42"}));
    EXPECT_TRUE(ConsoleCommand::Manager::arguments("cv").empty());
    EXPECT_EQ(ConsoleCommand::Manager::commandName("  CV  now"), "cv");
    EXPECT_EQ(ConsoleCommand::Manager::commandName(""), "");
}

} // namespace
