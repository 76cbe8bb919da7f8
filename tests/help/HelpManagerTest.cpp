#include <gtest/gtest.h>

#include "RecordingBrowser.h"
#include "RecordingSeams.h"
#include "help/HelpManager.h"
#include "io/ConfigFile.h"
#include "support/TestEnvironment.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>

namespace fs = std::filesystem;
using Help::HelpManager;
using Icon = Platform::MessageBox::Icon;

namespace {

const char* const BrowserFailed = "An error occurred while trying to launch your web browser to view the help "
                                  "documentation.  Please contact Quillex support for assistance.";
const char* const ManualMissing = "Quillex TW could not display the documentation because it could not find the help "
                                  "documentation installed at the expected location.  Reinstall TW to restore the "
                                  "help files.";

// Where the editor installs the manual, and its URL, spelt out: the sandbox's
// name has no character that needs escaping.
std::string documents() { return std::getenv("XDG_DOCUMENTS_DIR"); }
std::string defaultManual() { return documents() + "/Quillex/VU 6 Verov Edodod/HTML Help/en"; }
std::string defaultManualUrl()
{
    return "file://" + documents() + "/Quillex/VU%206%20Verov%20Edodod/HTML%20Help/en";
}

// As the editor's settings may spell a folder.
std::string backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void installPage(const std::string& folder, const std::string& page)
{
    fs::create_directories(fs::path(folder + "/" + page).parent_path());
    std::ofstream(folder + "/" + page) << "<html><body>manual</body></html>\n";
}

class HelpManagerTest : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(documents() + "/Quillex"); }

    std::vector<std::string> openedBy(const HelpManager& manager, uint32_t pageId) const
    {
        return browser.argumentsDuring([&] { manager.showHelp(pageId); });
    }

    const RecordingBrowser& browser = RecordingBrowser::instance();
    RecordingSeams seams;
    Util::ConfigFile preferences{"SOFTWARE\\Quillex\\TW6Relay"};
};

} // namespace

TEST_F(HelpManagerTest, ThePageTableNamesSixtyChaptersOfTheManual)
{
    const HelpManager manager;
    const std::regex row(R"([0-9]{2}-[a-z0-9]+(-[a-z0-9]+)*/index\.html(#[a-z0-9-]+)?)");
    for (uint32_t id = 0; id < 60; ++id)
        EXPECT_TRUE(std::regex_match(manager.pagePath(id), row)) << id << ": " << manager.pagePath(id);
    EXPECT_EQ(manager.pagePath(44), "60-tw-relay/index.html");
    EXPECT_EQ(manager.pagePath(1), manager.pagePath(2));
    EXPECT_NE(manager.pagePath(1).find("plug-ins"), std::string::npos);
    EXPECT_EQ(manager.pagePath(60), "");
}

// "HelpDocPath" names the folder that replaces the default location; an empty
// value counts as absent. A page without an anchor reaches the browser as the
// desktop hands a plain file URL to a handler: as the local path GIO decoded
// from it.
TEST_F(HelpManagerTest, TheProductPageOpensWhereThePreferencesSay)
{
    const std::string share = TestSupport::makeTempFolder("mount") + "/server share";
    struct Case {
        const char* name;
        std::optional<std::string> setting;
        std::string expected;
    };
    const Case cases[] = {
        {"absent", std::nullopt, defaultManual() + "/60-tw-relay/index.html"},
        {"empty", std::string(), defaultManual() + "/60-tw-relay/index.html"},
        {"a folder", share, share + "/60-tw-relay/index.html"},
        {"a folder written with backslashes", backslashed(share + "/"), share + "/60-tw-relay/index.html"},
    };
    installPage(defaultManual(), "60-tw-relay/index.html");
    installPage(share, "60-tw-relay/index.html");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.setting)
            preferences.SetString("HelpDocPath", *c.setting);
        else
            preferences.RemoveValue("HelpDocPath");
        const HelpManager manager(preferences);
        EXPECT_EQ(openedBy(manager, HelpManager::ProductPage), std::vector<std::string>{c.expected});
    }
    EXPECT_TRUE(seams.box.shown.empty());
    EXPECT_TRUE(seams.shell.opened.empty()) << "a page went past the desktop's handler";
    preferences.RemoveValue("HelpDocPath");
}

// With an anchor, the desktop hands the URL itself to the browser.
TEST_F(HelpManagerTest, AnAnchorReachesTheBrowser)
{
    const HelpManager manager;
    const std::string page = manager.pagePath(10);
    ASSERT_EQ(page, "08-module-chains/index.html#compare");
    installPage(defaultManual(), "08-module-chains/index.html");
    EXPECT_EQ(openedBy(manager, 10),
              std::vector<std::string>{defaultManualUrl() + "/08-module-chains/index.html#compare"});
    EXPECT_TRUE(seams.box.shown.empty());
}

TEST_F(HelpManagerTest, AMissingManualIsToldAsNotFound)
{
    const HelpManager manager;
    EXPECT_EQ(openedBy(manager, HelpManager::ProductPage), std::vector<std::string>{});
    EXPECT_EQ(seams.box.shown, (std::vector<RecordingSeams::Notice>{{"Unable to Launch Help", ManualMissing, Icon::Warning}}));
}

// The page is there, but the desktop's handler has no program and the shell's
// open fails too.
TEST_F(HelpManagerTest, ABrowserThatCannotStartIsToldAsAnError)
{
    installPage(defaultManual(), "60-tw-relay/index.html");
    const HelpManager manager;
    {
        const RecordingBrowser::Missing missing(browser);
        EXPECT_EQ(openedBy(manager, HelpManager::ProductPage), std::vector<std::string>{});
    }
    EXPECT_EQ(seams.shell.opened, std::vector<std::string>{"open " + defaultManualUrl() + "/60-tw-relay/index.html"});
    EXPECT_EQ(seams.box.shown, (std::vector<RecordingSeams::Notice>{{"Unable to Launch Help", BrowserFailed, Icon::Warning}}));
}

// An id outside the table opens the manual's folder; no handler of folders is
// registered, so it goes to the shell, whose failure is told.
TEST_F(HelpManagerTest, AnUnknownPageOpensTheManualsFolder)
{
    installPage(defaultManual(), "60-tw-relay/index.html");
    const HelpManager manager;
    EXPECT_EQ(openedBy(manager, 60), std::vector<std::string>{});
    EXPECT_EQ(seams.shell.opened, std::vector<std::string>{"open " + defaultManualUrl() + "/"});
    EXPECT_EQ(seams.box.shown, (std::vector<RecordingSeams::Notice>{{"Unable to Launch Help", BrowserFailed, Icon::Warning}}));

    seams.box.shown.clear();
    seams.shell.answer = Platform::Shell::Started;
    EXPECT_EQ(openedBy(manager, 60), std::vector<std::string>{});
    EXPECT_TRUE(seams.box.shown.empty());
}
