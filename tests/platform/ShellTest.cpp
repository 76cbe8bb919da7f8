#include <gtest/gtest.h>

#include "platform/Shell.h"
#include "support/TestEnvironment.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

TEST(PosixShell, StartsAProgramWithoutWaitingForIt)
{
    const std::string dir = TestSupport::makeTempFolder("shell");
    const std::string program = dir + "/editor with spaces.sh";
    const std::string marker = dir + "/started";
    {
        std::ofstream script(program);
        // Sleeps first: the shell must answer before the program ends.
        script << "#!/bin/sh\nsleep 1\ntouch '" << marker << "'\n";
    }
    fs::permissions(program, fs::perms::owner_all);
    const auto before = std::chrono::steady_clock::now();
    EXPECT_GT(Platform::shell().open("open", program, ""), 32);
    EXPECT_FALSE(fs::exists(marker)) << "the shell waited for the program";
    // The program really runs on its own.
    while (!fs::exists(marker) && std::chrono::steady_clock::now() - before < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(fs::exists(marker));
}

TEST(PosixShell, AnswersTheShellsFailureCodes)
{
    const std::string dir = TestSupport::makeTempFolder("shellfail");
    EXPECT_EQ(Platform::shell().open("open", dir + "/missing.exe", ""), Platform::Shell::FileNotFound);
    EXPECT_EQ(Platform::shell().open("open", "", ""), Platform::Shell::FileNotFound);
    EXPECT_EQ(Platform::shell().open("open", dir + "/not-a-folder/x/y.exe", ""), Platform::Shell::FileNotFound);
    EXPECT_EQ(Platform::shell().open("print", dir, ""), Platform::Shell::NoAssociation);
}

// A file that exists and may be executed but is no program must not count as
// started (nor be run as shell commands): the user has to hear that the
// editor could not start.
TEST(PosixShell, AnExecutableFileThatIsNoProgramIsRefused)
{
    const std::string dir = TestSupport::makeTempFolder("shellgarbage");
    const std::string program = dir + "/Editor.exe";
    const std::string marker = dir + "/ran";
    std::ofstream(program) << "touch '" << marker << "'\n"; // no interpreter line: not a program
    fs::permissions(program, fs::perms::owner_all);
    EXPECT_EQ(Platform::shell().open("open", program, ""), Platform::Shell::AccessDenied);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(fs::exists(marker)) << "the file's bytes ran as shell commands";
}
