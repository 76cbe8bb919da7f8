#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "shuttle/EditorLauncher.h"
#include "support/TestEnvironment.h"
#include "io/ConfigFile.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Shuttle::EditorLauncher;

namespace {

struct RecordingShell final : Platform::Shell {
    std::vector<std::string> opened;
    int32_t open(const Util::String& verb, const Util::String& path, const Util::String&) override
    {
        opened.push_back(verb + " " + path);
        return fs::exists(path) ? Started : FileNotFound;
    }
};

struct RecordingBox final : Platform::MessageBox {
    std::vector<std::pair<std::string, std::string>> shown;
    void show(const Util::String& title, const Util::String& text, Icon) override { shown.emplace_back(title, text); }
};

struct Seams {
    RecordingShell shell;
    RecordingBox box;
    Seams()
    {
        Platform::installShell(&shell);
        Platform::installMessageBox(&box);
    }
    ~Seams()
    {
        Platform::installShell(nullptr);
        Platform::installMessageBox(nullptr);
    }
};

void makeProgram(const std::string& path)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "#!/bin/sh\n";
}

} // namespace

TEST(EditorLauncher, PrefersThe64BitProgramAndFallsBackToThe32BitOne)
{
    Seams seams;
    Util::ConfigFile settings("SOFTWARE\\Quillex\\TW6Relay");
    const std::string install = TestSupport::makeTempFolder("install");
    settings.SetString("InstallPath", install);

    makeProgram(install + "/win32/Quillex TW 6 Audio Editor.exe");
    EXPECT_GT(EditorLauncher::launch(settings), 32);
    makeProgram(install + "/win64/Quillex TW 6 Audio Editor.exe");
    EXPECT_GT(EditorLauncher::launch(settings), 32);
    EXPECT_GT(EditorLauncher::launch(settings), 32); // started again: no look for a running editor
    EXPECT_EQ(seams.shell.opened, (std::vector<std::string>{"open " + install + "/win32/Quillex TW 6 Audio Editor.exe",
                                                             "open " + install + "/win64/Quillex TW 6 Audio Editor.exe",
                                                             "open " + install + "/win64/Quillex TW 6 Audio Editor.exe"}));
    EXPECT_TRUE(seams.box.shown.empty());
}

TEST(EditorLauncher, AMissingProgramShowsTheNoticeWithTheShellsAnswer)
{
    Seams seams;
    Util::ConfigFile settings("SOFTWARE\\Quillex\\TW6Relay");
    settings.RemoveValue("InstallPath");
    EXPECT_EQ(EditorLauncher::launch(settings), 2);
    ASSERT_EQ(seams.box.shown.size(), 1u);
    EXPECT_EQ(seams.box.shown[0].first, "Application Not Found");
    EXPECT_EQ(seams.box.shown[0].second,
              "The TW standalone application could not be launched at path /opt/Quillex/TW 6/win32/Quillex TW 6 Audio "
              "Editor.exe. Please reinstall TW to ensure that the application exists. Error code: 2");
    EXPECT_EQ(EditorLauncher::noticeText("", 5),
              "The TW standalone application could not be launched. Please reinstall TW to ensure that the application "
              "exists. Error code: 5");
}
