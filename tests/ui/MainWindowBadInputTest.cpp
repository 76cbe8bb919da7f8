#include "MainWindowFixture.h"

#include "ui/MultiText.h"
#include "ui/ResourceManager.h"
#include "util/Log.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const std::string proToolsIdle = "Select REFERENCE or REPAIR then press SEND to send the clips to TW.";

class MainWindowBadInput : public TestSupport::MainWindowFixture {
protected:
    // The product's layout, edited, in a layout folder on disk that the
    // window's canvas tries before the resource table.
    std::string layoutFolderWith(const std::function<std::string(std::string)>& edit)
    {
        const auto layout = UI::ResourceManager::instance().find("UI/Layout/Layout_MainWindow.layout");
        EXPECT_TRUE(layout);
        const std::string folder = TestSupport::makeTempFolder("layout");
        fs::create_directories(folder + "/UI/Layout");
        std::ofstream(folder + "/UI/Layout/Layout_MainWindow.layout")
            << edit(std::string(reinterpret_cast<const char*>(layout->bytes.data()), layout->bytes.size()));
        return folder;
    }
};

// Everything from the element naming `name` to its end.
std::string withoutElement(std::string layout, const std::string& name)
{
    const auto start = layout.rfind('<', layout.find("Name=\"" + name + "\""));
    const auto close = layout.find("</NewChild>", start);
    const auto selfClose = layout.find("/>", start);
    const auto end = (close != std::string::npos && close < layout.find("<NewChild", start + 1))
                         ? close + std::string("</NewChild>").size()
                         : selfClose + 2;
    return layout.erase(start, end - start);
}

} // namespace

TEST_F(MainWindowBadInput, ALayoutWithoutALookedUpControlStillBuildsTheRest)
{
    start("Pro Tools");
    const std::string folder = layoutFolderWith([](std::string layout) {
        layout = withoutElement(layout, "Discard Button");
        // A type no window set knows: the loader says so and makes nothing.
        return std::regex_replace(layout, std::regex("(Name=\"Repair On Off Button\" Type=\")[^\"]*"), "$1No Such Type");
    });
    ASSERT_EQ(withoutElement("<A><NewChild Name=\"X\"/><NewChild Name=\"Y\"/></A>", "X"), "<A><NewChild Name=\"Y\"/></A>");

    Util::Log::Capture log;
    UI::MainWindow w(*plugin, *transform);
    w.canvas().setLayoutDiskFolder(folder);
    ASSERT_TRUE(w.open(0));
    EXPECT_TRUE(log.contains("Could not create child Repair On Off Button of type No Such Type")) << log.messages().size();
    EXPECT_EQ(w.canvas().findChild("Discard Button"), nullptr);
    EXPECT_EQ(w.canvas().findChild("Repair On Off Button"), nullptr);

    // The rest works: the mode still reaches the shuttle, states still show,
    // Discard is still there for the editor's request.
    clock.advance(UI::MainWindow::PipeIntervalMs);
    w.idle();
    EXPECT_TRUE(transform->fileHandler().referenceMode());
    setState(2);
    w.idle();
    EXPECT_EQ(dynamic_cast<UI::MultiText*>(w.canvas().findChild("Status Text"))->text(),
              "Audio clip(s) are now available in TW.");
    w.discardAction();
    clock.advance(UI::MainWindow::PipeIntervalMs);
    w.idle();
    EXPECT_EQ(transform->state(), 0u);
}

TEST_F(MainWindowBadInput, AMissingShuttleElementReadsAsIdle)
{
    start("Pro Tools");
    const auto shuttle = transform->GetDSPSet().RemoveElement(DSP::ShuttleElement::kName);
    ASSERT_NE(shuttle, nullptr);
    shuttle->SetParameterValue(DSP::ShuttleElement::kStateIndex, uint32_t(2));
    UI::MainWindow& w = openWindow();
    EXPECT_EQ(w.shuttleState(), 0u);
    EXPECT_EQ(find<UI::MultiText>("Status Text").text(), proToolsIdle);
    tick();
    EXPECT_EQ(find<UI::MultiText>("Status Text").text(), proToolsIdle);
    w.discard(); // state 0: nothing to discard
    tick();
    EXPECT_EQ(std::get<uint32_t>(*shuttle->GetParameterValue(DSP::ShuttleElement::kStateIndex)), 2u);
}

// A value of the wrong type or size reads as absent, as the settings store
// answers it: it neither starts the updater nor stops a check that is due.
TEST_F(MainWindowBadInput, GarbageUpdaterSettingsCountAsAbsent)
{
    const std::string updaterPath = "/opt/Quillex/Updater/QxUpdater";
    const struct {
        const char* what;
        std::function<void(Util::ConfigFile&)> write;
        bool started;
    } cases[] = {
        {"an interval as text", [](Util::ConfigFile& u) { u.SetString("UpdateInterval", "2"); }, false},
        {"an interval of three bytes", [](Util::ConfigFile& u) { u.SetBytes("UpdateInterval", {2, 0, 0}); }, false},
        {"an interval beyond the table", [](Util::ConfigFile& u) { u.SetUInt("UpdateInterval", 0xFFFFFFFFu); }, false},
        {"a check time as text",
         [](Util::ConfigFile& u) {
             u.SetUInt("UpdateInterval", 1);
             u.SetString("LastUpdateCheckTime", "yesterday");
         },
         true},
        {"a check time of eight bytes",
         [](Util::ConfigFile& u) {
             u.SetUInt("UpdateInterval", 1);
             u.SetUInt64("LastUpdateCheckTime", 1);
         },
         true},
    };
    for (const auto& c : cases) {
        start("Pro Tools");
        Util::ConfigFile updater(UI::UpdateCheck::SettingsKey);
        updater.SetString("UpdaterPath", updaterPath);
        c.write(updater);
        openWindow();
        EXPECT_EQ(shell.started.size(), c.started ? 1u : 0u) << c.what;
        EXPECT_EQ(find<UI::MultiText>("Status Text").text(), proToolsIdle) << c.what;
        shell.started.clear();
        plugin.reset();
    }
}

// With the system's shell: whatever "UpdaterPath" names that is no program is
// refused at once (never opened as a document) and the window opens.
TEST_F(MainWindowBadInput, AnUpdaterPathThatIsNoProgramIsRefusedAndTheWindowOpens)
{
    const std::string folder = TestSupport::makeTempFolder("updater");
    std::ofstream(folder + "/notes.txt") << "not a program";
    std::ofstream(folder + "/script") << "echo no interpreter line\n";
    fs::permissions(folder + "/script", fs::perms::owner_all);
    for (const std::string& path : {folder + "/notes.txt", folder + "/script", folder, folder + "/missing", std::string()}) {
        start("Pro Tools");
        Platform::installShell(nullptr);
        Util::ConfigFile updater(UI::UpdateCheck::SettingsKey);
        updater.SetUInt("UpdateInterval", 1);
        updater.SetString("UpdaterPath", path);
        Util::Log::Capture log;
        openWindow();
        EXPECT_TRUE(log.contains("The updater " + path + " did not start")) << path;
        EXPECT_EQ(find<UI::MultiText>("Status Text").text(), proToolsIdle) << path;
        plugin.reset();
    }
}
