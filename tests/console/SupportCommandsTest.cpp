#include <gtest/gtest.h>

#include "ConsoleFixture.h"
#include "console/BugCommand.h"
#include "console/VersionCommand.h"
#include "io/ConfigFile.h"
#include "platform/UrlOpener.h"
#include "support/TestEnvironment.h"
#include "ui/Image.h"
#include "ui/MainPluginWindow.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"
#include "ui/ResourceTable.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace fs = std::filesystem;

struct SupportCommandsTest : ::testing::Test, ConsoleFixture {
    void TearDown() override { UI::ResourceManager::instance().setOverrideFolder({}); }
    fs::path scratch = TestSupport::makeTempFolder("console"); // fresh: a folder left by an earlier run would answer differently
};

TEST_F(SupportCommandsTest, DesignModeIsOnOnlyWhileEnabledAndNotPrevented)
{
    const FreshDesignSettings design;
    const char* const On = "Live design mode is on.";
    const char* const Off = "Live design mode is off (it is on only when enabled and not prevented).";
    const struct {
        const char* line;
        bool enabled;
        bool prevented;
        const char* text;
    } steps[] = {
        {"disabledesign", false, false, Off}, {"enabledesign", true, false, On},
        {"preventdesign", true, true, Off},   {"disabledesign", false, true, Off},
        {"enabledesign", true, true, Off},    {"preventdesignoff", true, false, On},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(run(step.line), (Notice{"Live Design", step.text})) << step.line;
        const Util::ConfigFile maker("SOFTWARE/Quillex");
        // Both switches are off until stored (the product's default).
        EXPECT_EQ(maker.GetBool("RuntimeDesignEnable", false), step.enabled) << step.line;
        EXPECT_EQ(maker.GetBool("PreventRuntimeDesign", false), step.prevented) << step.line;
    }
}

// The embedded resources, read from the packed table the build made.
std::map<std::string, std::vector<uint8_t>> packedResources()
{
    std::ifstream in(RELAY_RESOURCE_TABLE_PATH, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::map<std::string, std::vector<uint8_t>> resources;
    const auto table = UI::ResourceTable::read(bytes);
    EXPECT_TRUE(table.has_value());
    if (table)
        for (const auto& [name, entry] : table->entries()) {
            const auto data = table->find(name);
            resources[name] = std::vector<uint8_t>(data->begin(), data->end());
        }
    return resources;
}

std::map<std::string, std::vector<uint8_t>> filesBelow(const fs::path& folder)
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), folder).generic_string()] =
                std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        }
    return files;
}

TEST_F(SupportCommandsTest, ResourceDirIntoANewFolderWritesEveryEmbeddedResourceAndLooksThereFirst)
{
    const fs::path folder = scratch / "new resources";
    const std::string question = "The resource directory \"" + folder.string() +
                                 "\" does not exist. Create it and dump all resource files to it?";
    EXPECT_EQ(run("resourcedir " + folder.string()), (Notice{"Resource Directory", question}));
    const auto expected = packedResources();
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(filesBelow(folder) == expected);
    EXPECT_EQ(UI::ResourceManager::instance().overrideFolder(), folder.string());
    EXPECT_EQ(plugin.settings().GetString("ResourceDirectory", ""), folder.string());

    // A file changed there is what a look-up finds.
    const std::string name = expected.begin()->first;
    std::ofstream(folder / name, std::ios::binary | std::ios::trunc) << "changed";
    const auto found = UI::ResourceManager::instance().find(name);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(std::string(found->bytes.begin(), found->bytes.end()), "changed");

    // A new instance looks there too; no path switches the folder off for good.
    UI::ResourceManager::instance().setOverrideFolder({});
    {
        ConsoleFixture another;
        EXPECT_EQ(UI::ResourceManager::instance().overrideFolder(), folder.string());
        EXPECT_EQ(another.run("resourcedir"), Notice{});
    }
    EXPECT_EQ(UI::ResourceManager::instance().overrideFolder(), "");
    EXPECT_EQ(plugin.settings().GetString("ResourceDirectory", "unset"), "");
}

TEST_F(SupportCommandsTest, ResourceDirAnswersEachOtherCase)
{
    fs::create_directories(scratch / "existing");
    std::ofstream(scratch / "plain file") << "x";
    const std::string existing = (scratch / "existing").string();
    const std::string declined = (scratch / "declined").string();
    const std::string impossible = (scratch / "plain file" / "below").string();

    EXPECT_EQ(run("resourcedir " + existing), Notice{});
    EXPECT_EQ(UI::ResourceManager::instance().overrideFolder(), existing);

    box.answer = false;
    EXPECT_EQ(run("resourcedir " + declined),
              (Notice{"Resource Directory", "Because the directory \"" + declined +
                                                "\" was not created, the resources will not be overridden."}));
    EXPECT_FALSE(fs::exists(declined));

    box.answer = true;
    const Notice failed = run("resourcedir " + impossible);
    EXPECT_EQ(failed.title, "Error!");
    const std::string start = "Could not create resource directory \"" + impossible +
                              "\". As a result, the resources will not be overridden. Exception: \"";
    EXPECT_EQ(failed.text.substr(0, start.size()), start);
    EXPECT_EQ(failed.text.back(), '"');
    EXPECT_EQ(UI::ResourceManager::instance().overrideFolder(), existing);
    EXPECT_EQ(plugin.settings().GetString("ResourceDirectory", ""), existing);
}

// The window's pixel at the middle of the named window's frame.
UI::Color pixelAtMiddleOf(UI::MainPluginWindow& window, const char* name)
{
    window.idle();
    const UI::Rect frame = window.canvas().findWindow(name)->canvasFrame();
    return window.hostWindow().image().pixel((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2);
}

TEST_F(SupportCommandsTest, AChangedImageInTheResourceFolderIsWhatTheWindowThenDraws)
{
    const fs::path folder = scratch / "drawn resources";
    run("resourcedir " + folder.string());
    const UI::Color red{255, 0, 0, 255};
    UI::MainPluginWindow before;
    ASSERT_TRUE(before.open(0));
    ASSERT_NE(pixelAtMiddleOf(before, "Scroll View Background"), red);

    const fs::path image = folder / "png/ControlBackground.png";
    const auto original = UI::Image::decodePng(filesBelow(folder).at("png/ControlBackground.png"));
    ASSERT_TRUE(original.has_value());
    ASSERT_TRUE(UI::Image(original->width(), original->height(), red).savePng(image.string()));
    UI::MainPluginWindow after;
    ASSERT_TRUE(after.open(0));
    EXPECT_EQ(pixelAtMiddleOf(after, "Scroll View Background"), red);
}

struct RecordingOpener final : Platform::UrlOpener {
    std::vector<std::string> opened;
    bool openUrl(const Util::String& url) override
    {
        opened.push_back(url);
        return true;
    }
};

std::string decoded(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+')
            out += ' ';
        else if (text[i] == '%' && i + 2 < text.size() + 0) {
            out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += text[i];
    }
    return out;
}

TEST_F(SupportCommandsTest, BugOpensTheBugPageWithItsFourQueryKeys)
{
    RecordingOpener opener;
    Platform::installUrlOpener(&opener);
    run("bug  Crash on open: 50% & more");
    Platform::installUrlOpener(nullptr);
    ASSERT_EQ(opener.opened.size(), 1u);
    const std::string& url = opener.opened[0];
    const std::string page = std::string(ConsoleCommand::BugCommand::Page) + "?";
    ASSERT_EQ(url.substr(0, page.size()), page);
    EXPECT_EQ(url.find(' '), std::string::npos);

    std::vector<std::pair<std::string, std::string>> pairs;
    std::string query = url.substr(page.size());
    for (size_t start = 0; start <= query.size();) {
        const size_t end = std::min(query.find('&', start), query.size());
        const std::string pair = query.substr(start, end - start);
        const size_t equals = pair.find('=');
        pairs.emplace_back(pair.substr(0, equals), decoded(pair.substr(equals + 1)));
        start = end + 1;
    }
    std::string environment = ConsoleCommand::VersionCommand(plugin).text();
    std::replace(environment.begin(), environment.end(), '\n', ';');
    environment.pop_back();
    EXPECT_EQ(pairs, (std::vector<std::pair<std::string, std::string>>{{"bug", "TW 6 Relay"},
                                                                        {"os", "win"},
                                                                        {"environment", environment},
                                                                        {"summary", "Crash on open: 50% & more"}}));
}

TEST_F(SupportCommandsTest, ScriptConsoleSaysThereIsNoScriptingEngine)
{
    EXPECT_EQ(run("scriptconsole"),
              (Notice{"Script Console", "This plugin has no scripting engine, so there is no script console."}));
}

// AddressSanitizer's SIGSEGV handler reports the fault and exits with status 1,
// so in a sanitizer build the dying child puts the signal's default action
// back: what is checked is the signal the command raises. A plain build has
// no handler to undo.
void letTheSignalEndTheProcess([[maybe_unused]] int signal)
{
#if defined(__SANITIZE_ADDRESS__) // GCC's
    std::signal(signal, SIG_DFL);
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) // clang's
    std::signal(signal, SIG_DFL);
#endif
#endif
}

TEST(CrashCommandsDeathTest, EachEndsTheProcessByItsSignal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* line;
        int signal;
    } cases[] = {{"crash2001", SIGSEGV}, {"crash2002", SIGABRT}};
    for (const auto& c : cases)
        EXPECT_EXIT(
            {
                letTheSignalEndTheProcess(c.signal);
                ConsoleFixture console;
                console.run(c.line);
            },
            ::testing::KilledBySignal(c.signal), "")
            << c.line;
}

} // namespace
