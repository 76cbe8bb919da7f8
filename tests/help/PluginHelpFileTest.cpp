#include <gtest/gtest.h>

#include "RecordingSeams.h"
#include "core/PluginHelpFile.h"
#include "product/PluginDefinitionImpl.h"
#include "support/TestEnvironment.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Icon = Platform::MessageBox::Icon;

TEST(PluginHelpFile, ThePathJoinsTheInstallFolderTheHelpFolderAndTheFile)
{
    struct Case {
        const char* installFolder;
        const char* helpFile;
        const char* language;
        const char* expected;
    };
    const Case cases[] = {
        {"/opt/relay", "HTML Help/Default.htm", "en", "/opt/relay/HTML Help/Default.htm"},
        {"/opt/relay", "Help/%LANGUAGE/Default.htm", "de", "/opt/relay/Help/de/Default.htm"},
        {"/opt/relay", "Help\\%LANGUAGE\\Docs\\index.htm", "fr", "/opt/relay/Help/fr/Docs/index.htm"},
        {"/opt/relay/", "Default.htm", "en", "/opt/relay/Default.htm"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PluginHelpFile::composePath(c.installFolder, c.helpFile, c.language), c.expected) << c.helpFile;
}

// Without an install folder given, the help file is looked for beside the
// module that holds the code: here the test program.
TEST(PluginHelpFile, TheInstallFolderIsTheModulesFolder)
{
    const TWRelay::PluginDefinitionImpl definition;
    const fs::path program = fs::canonical("/proc/self/exe");
    EXPECT_EQ(PluginHelpFile(definition).path(), program.parent_path().string() + "/HTML Help/Default.htm");
}

TEST(PluginHelpFile, AMissingFileIsToldOnlyWhileAWindowIsOpen)
{
    RecordingSeams seams;
    auto& opener = seams.recordUrls();
    const TWRelay::PluginDefinitionImpl definition;
    const std::string install = TestSupport::makeTempFolder("plugin");
    const PluginHelpFile help(definition, install);

    EXPECT_FALSE(help.show(false));
    EXPECT_TRUE(seams.box.shown.empty());

    EXPECT_FALSE(help.show(true));
    EXPECT_EQ(seams.box.shown,
              (std::vector<RecordingSeams::Notice>{
                  {"Help Not Found",
                   "The help file (" + install +
                       "/HTML Help/Default.htm) was not found. Please reinstall TW 6 Relay in order to access its help "
                       "file.",
                   Icon::Error}}));
    EXPECT_TRUE(opener.opened.empty());
}

TEST(PluginHelpFile, AnInstalledFileOpensInTheViewer)
{
    RecordingSeams seams;
    auto& opener = seams.recordUrls();
    const TWRelay::PluginDefinitionImpl definition;
    const std::string install = TestSupport::makeTempFolder("plugin");
    fs::create_directories(install + "/HTML Help");
    std::ofstream(install + "/HTML Help/Default.htm") << "<html></html>\n";
    const PluginHelpFile help(definition, install);

    EXPECT_TRUE(help.show(true));
    opener.answer = false;
    EXPECT_FALSE(help.show(true));
    EXPECT_EQ(opener.opened, std::vector<std::string>(2, "file://" + install + "/HTML%20Help/Default.htm"));
    EXPECT_TRUE(seams.box.shown.empty());
}
