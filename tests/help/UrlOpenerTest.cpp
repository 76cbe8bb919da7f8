#include <gtest/gtest.h>

#include "RecordingBrowser.h"
#include "RecordingSeams.h"
#include "platform/UrlOpener.h"
#include "support/TestEnvironment.h"

#include <fstream>

namespace {

class UrlOpenerTest : public ::testing::Test {
protected:
    bool openedByBrowser(const std::string& url, std::vector<std::string>& arguments) const
    {
        bool answer = false;
        arguments = browser.argumentsDuring([&] { answer = Platform::urlOpener().openUrl(url); });
        return answer;
    }

    const RecordingBrowser& browser = RecordingBrowser::instance();
    RecordingSeams seams;
    std::vector<std::string> arguments;
};

} // namespace

// The host help button's web address goes to the shell, whose answer decides.
TEST_F(UrlOpenerTest, AWebAddressGoesToTheShell)
{
    for (const int32_t answer : {Platform::Shell::Started, Platform::Shell::FileNotFound, Platform::Shell::NoAssociation}) {
        seams.shell.opened.clear();
        seams.shell.answer = answer;
        EXPECT_EQ(openedByBrowser("https://relay.example/hosts?from=plug-in#top", arguments), answer > 32) << answer;
        EXPECT_TRUE(arguments.empty());
        EXPECT_EQ(seams.shell.opened, std::vector<std::string>{"open https://relay.example/hosts?from=plug-in#top"});
    }
}

// The scheme's letter case does not matter, and the URL reaches the handler as
// given, query and anchor included.
TEST_F(UrlOpenerTest, AFileUrlGoesToTheHandlerOfTheFilesType)
{
    const std::string folder = TestSupport::makeTempFolder("page");
    std::ofstream(folder + "/guide.html") << "<html></html>\n";
    const std::string url = "FILE://" + folder + "/guide.html?lang=en#setup";
    EXPECT_TRUE(openedByBrowser(url, arguments));
    EXPECT_EQ(arguments, std::vector<std::string>{url});
    EXPECT_TRUE(seams.shell.opened.empty());
}

// No handler: a file whose type nobody registered, a missing file, a URL that
// names another machine's file. Each goes to the shell as it is.
TEST_F(UrlOpenerTest, WithoutAHandlerTheShellOpensTheUrl)
{
    const std::string folder = TestSupport::makeTempFolder("nohandler");
    std::ofstream(folder + "/notes.txt") << "plain text\n";
    seams.shell.answer = Platform::Shell::Started;
    for (const std::string& url : {"file://" + folder + "/notes.txt", "file://" + folder + "/missing.html",
                                  "file://fileserver" + folder + "/notes.txt"}) {
        seams.shell.opened.clear();
        EXPECT_TRUE(openedByBrowser(url, arguments)) << url;
        EXPECT_TRUE(arguments.empty()) << url;
        EXPECT_EQ(seams.shell.opened, std::vector<std::string>{"open " + url});
    }
}
