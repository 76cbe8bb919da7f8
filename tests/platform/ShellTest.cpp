#include <gtest/gtest.h>

#include "platform/Shell.h"
#include "support/AdoptedPrograms.h"
#include "support/TestEnvironment.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using TestSupport::AdoptedPrograms;

namespace {

void writeExecutable(const std::string& path, const std::string& text)
{
    std::ofstream(path) << text;
    fs::permissions(path, fs::perms::owner_all);
}

} // namespace

TEST(PosixShell, StartsAProgramWithoutWaitingForIt)
{
    const std::string dir = TestSupport::makeTempFolder("shell");
    const std::string program = dir + "/editor with spaces.sh";
    const std::string go = dir + "/go";
    const std::string marker = dir + "/started";
    // The program ends only after the test says go (or after a bound, so that
    // a shell that waits for it fails the test instead of hanging it).
    writeExecutable(program, "#!/bin/sh\ni=0\nwhile [ ! -e '" + go + "' ] && [ $i -lt 400 ]; do sleep 0.05; i=$((i+1)); done\n"
                             "touch '" + marker + "'\n");
    const AdoptedPrograms programs;
    EXPECT_GT(Platform::shell().open("open", program, ""), 32);
    EXPECT_FALSE(fs::exists(marker)) << "the shell waited for the program";
    // The program really runs on its own.
    std::ofstream{go};
    programs.waitForAll();
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
    writeExecutable(program, "touch '" + marker + "'\n"); // no interpreter line: not a program
    const AdoptedPrograms programs;
    EXPECT_EQ(Platform::shell().open("open", program, ""), Platform::Shell::AccessDenied);
    programs.waitForAll();
    EXPECT_FALSE(fs::exists(marker)) << "the file's bytes ran as shell commands";
}

// Starting a program (the updater) never opens what is not one as a document.
TEST(PosixShell, StartRunsProgramsWithTheirArgumentAndRefusesEverythingElse)
{
    const std::string dir = TestSupport::makeTempFolder("shellstart");
    const std::string program = dir + "/updater";
    const std::string marker = dir + "/argument";
    writeExecutable(program, "#!/bin/sh\nprintf '%s' \"$1\" > '" + marker + "'\n");
    const std::string document = dir + "/notes.txt";
    std::ofstream(document) << "text";
    const AdoptedPrograms programs;
    EXPECT_EQ(Platform::shell().start(document, "-silent"), Platform::Shell::AccessDenied);
    EXPECT_EQ(Platform::shell().start(dir, "-silent"), Platform::Shell::AccessDenied);
    EXPECT_EQ(Platform::shell().start(dir + "/missing", "-silent"), Platform::Shell::FileNotFound);
    EXPECT_EQ(Platform::shell().start("", "-silent"), Platform::Shell::FileNotFound);
    EXPECT_GT(Platform::shell().start(program, "-silent"), 32);
    programs.waitForAll();
    std::ifstream in(marker);
    const std::string argument((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(argument, "-silent");
}
