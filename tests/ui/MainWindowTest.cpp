#include "MainWindowFixture.h"

#include "ipc/StandinProcess.h"
#include "ui/BitmapWindow.h"
#include "ui/MultiText.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"
#include "ui/RadudarPopoverBackground.h"
#include "ui/RadudarPushButton.h"
#include "ui/RadudarTooltipWindow.h"
#include "ui/ScrollView.h"
#include "ui/UpdateCheck.h"
#include "util/Log.h"

#include <chrono>
#include <thread>

namespace {

using Button = UI::Radudar::MouseOverButton;
using ModeButton = UI::Radudar::MouseOverOnOffButton;

const std::string proToolsIdle = "Select REFERENCE or REPAIR then press SEND to send the clips to TW.";

class MainWindowTest : public TestSupport::MainWindowFixture {
protected:
    const std::string& statusText() { return find<UI::MultiText>("Status Text").text(); }
    // Idles the instance until `done`, for what another process does.
    template <typename Done>
    bool idleUntil(Done done)
    {
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
             std::chrono::steady_clock::now() < end;) {
            tick();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }
};

} // namespace

TEST_F(MainWindowTest, TheBuildMakesItsWindowsConnectsThemAndShowsTheIdleState)
{
    start("Pro Tools");
    settings.SetBool("Relay Display State", true);
    Util::Log::Capture log;
    UI::MainWindow& w = openWindow();
    EXPECT_TRUE(log.messages().empty()) << log.messages().front(); // every looked-up window was found

    // The clip list: 16 hidden rows named for the host, scrolled by 20 pixels.
    auto& list = find<UI::ScrollView>("Clip ScrollView");
    ASSERT_EQ(w.thumbnails().size(), 16u);
    for (size_t i = 0; i < 16; ++i) {
        const auto* row = w.thumbnails()[i];
        EXPECT_EQ(row->name(), "Thumbnail " + std::to_string(i + 1));
        EXPECT_EQ(row->parent(), &list);
        EXPECT_EQ(row->label().text(), "Pro Tools " + std::to_string(i + 1));
        EXPECT_TRUE(row->isHidden());
    }
    EXPECT_EQ(list.scrollStep(), 20);
    EXPECT_TRUE(list.rows().empty());
    EXPECT_EQ(list.tooltip(), "This info window will guide you through the workflow between Pro Tools and TW");
    EXPECT_EQ(find<UI::BitmapWindow>("Gradient Bitmap").imageName(), "png/TW_Relay_Waveform_Gradient.png");
    EXPECT_TRUE(find("Info Text")->isHidden());
    EXPECT_TRUE(find("Info Text Close Button")->isHidden());

    // The status text, placed for its line count, in the bright label colour.
    auto& status = find<UI::MultiText>("Status Text");
    EXPECT_EQ(status.text(), proToolsIdle);
    EXPECT_EQ(status.frame(), UI::Rect::fromSize(77, 93, 327, 80));
    EXPECT_EQ(*status.propertyText("Text Color Key"), "LabelBrightTextColor");

    // The help popover, hidden, with its two buttons.
    auto& popover = find<UI::Radudar::PopoverBackground>("Help Popover");
    EXPECT_TRUE(popover.isHidden());
    EXPECT_EQ(dynamic_cast<UI::Radudar::PushButton*>(popover.findChild("Help Button"))->title(), "Help");
    EXPECT_EQ(dynamic_cast<UI::Radudar::PushButton*>(popover.findChild("Host Help Button"))->title(),
              "Using TW Relay in Pro Tools");

    // The controls, their tooltips and their state: REFERENCE by default.
    auto& discard = find<Button>("Discard Button");
    auto& reference = find<ModeButton>("Reference On Off Button");
    auto& repair = find<ModeButton>("Repair On Off Button");
    EXPECT_EQ(discard.tooltip(), "Discard the audio clip(s) that have been sent to TW for repair");
    EXPECT_EQ(reference.tooltip(),
              "Use this mode to send a copy of the audio clip(s) to TW for reference and learning features");
    EXPECT_EQ(repair.tooltip(), "Use this mode to directly edit the audio clip(s) in TW, then render the changes in Pro Tools");
    EXPECT_FALSE(discard.isEnabled());
    EXPECT_TRUE(reference.isEnabled() && reference.isOn());
    EXPECT_TRUE(repair.isEnabled() && !repair.isOn());
    EXPECT_EQ(window().canvas().existingTooltipWindow()->delay(), 600u);
    EXPECT_NE(window().canvas().contextMenu(), nullptr);

    // The diagnostics and the reference note are hidden; the diagnostic switch
    // starts off again; the state is stored.
    for (const char* name : {"DirtyText", "MessageText", "StatusText", "Sent Reference Label"})
        EXPECT_TRUE(find(name)->isHidden()) << name;
    EXPECT_FALSE(settings.GetBool("Relay Display State", true));
    EXPECT_FALSE(settings.GetBool("ReadyToWrite", true));

    // The mode went to the shuttle as a command; the pipe timer runs it.
    EXPECT_FALSE(transform->fileHandler().referenceMode());
    tick();
    EXPECT_TRUE(transform->fileHandler().referenceMode());
    EXPECT_TRUE(shell.started.empty()); // no update check is due
}

TEST_F(MainWindowTest, EveryStateChangeIsShownByTheNextIdleCall)
{
    start("Pro Tools");
    settings.SetBool("Reference Clip", false);
    UI::MainWindow& w = openWindow();
    auto& discard = find<Button>("Discard Button");
    auto& repair = find<ModeButton>("Repair On Off Button");

    block(true);
    tick();
    EXPECT_EQ(statusText(), "Capturing audio\xE2\x80\xA6");
    EXPECT_TRUE(shownThumbnails().empty());
    EXPECT_FALSE(discard.isEnabled());

    capturePass(3); // three clips in all
    ASSERT_EQ(transform->state(), 2u);
    tick();
    EXPECT_EQ(statusText(), "Audio clip(s) are now available in TW.");
    ASSERT_EQ(shownThumbnails().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shownThumbnails()[i], w.thumbnails()[i]);
        EXPECT_FALSE(w.thumbnails()[i]->isHighlighted());
    }
    EXPECT_TRUE(discard.isEnabled());
    EXPECT_FALSE(repair.isEnabled()); // capturing left the controls disabled for this refresh

    leaveRepairedFiles("Pro Tools", 2);
    EXPECT_TRUE(w.loadRepairedFiles());
    tick();
    ASSERT_EQ(transform->state(), 3u);
    EXPECT_EQ(statusText(), "Press RENDER to commit changes.");
    ASSERT_EQ(shownThumbnails().size(), 2u);
    EXPECT_TRUE(shownThumbnails()[0]->isHighlighted() && shownThumbnails()[1]->isHighlighted());
    EXPECT_TRUE(discard.isEnabled());
    EXPECT_FALSE(repair.isEnabled() || repair.isOn());
    EXPECT_TRUE(settings.GetBool("ReadyToWrite", false));

    // Played out: back to idle, and the window may load again.
    setState(0);
    plugin->idle();
    EXPECT_EQ(statusText(), proToolsIdle);
    EXPECT_TRUE(shownThumbnails().empty());
    EXPECT_FALSE(discard.isEnabled());
    EXPECT_TRUE(repair.isEnabled() && repair.isOn());
    EXPECT_FALSE(settings.GetBool("ReadyToWrite", true));
    EXPECT_FALSE(w.repairedLoaded());
}

TEST_F(MainWindowTest, ACaptureTurnsTheModeBackToRepair)
{
    start("Pro Tools");
    openWindow();
    tick();
    EXPECT_TRUE(find<ModeButton>("Reference On Off Button").isOn());
    capturePass(1);
    tick(); // the window takes REPAIR; its new mode goes back to the shuttle
    EXPECT_FALSE(settings.GetBool("Reference Clip", true));
    tick();
    EXPECT_FALSE(transform->fileHandler().referenceMode());
    // The reference clip went to the editor and the state is back to 0; that
    // refresh keeps the mode buttons off, one refresh behind the capture. The
    // next pass shows the mode the capture chose.
    auto& reference = find<ModeButton>("Reference On Off Button");
    auto& repair = find<ModeButton>("Repair On Off Button");
    ASSERT_EQ(transform->state(), 0u);
    EXPECT_FALSE(repair.isEnabled() || repair.isOn() || reference.isOn());
    block(true);
    tick();
    ASSERT_EQ(transform->state(), 1u);
    EXPECT_TRUE(repair.isEnabled());
    EXPECT_TRUE(repair.isOn());
    EXPECT_FALSE(reference.isOn());
}

TEST_F(MainWindowTest, EveryPressOfAModeButtonTellsTheShuttleTheMode)
{
    start("Pro Tools");
    openWindow();
    tick();
    auto& reference = find<ModeButton>("Reference On Off Button");
    auto& repair = find<ModeButton>("Repair On Off Button");

    click(repair);
    EXPECT_FALSE(settings.GetBool("Reference Clip", true));
    EXPECT_TRUE(repair.isOn() && !reference.isOn());
    tick();
    EXPECT_FALSE(transform->fileHandler().referenceMode());

    click(reference);
    tick();
    EXPECT_TRUE(transform->fileHandler().referenceMode());
    // Pressed again in the mode it is in, it still tells the shuttle.
    transform->fileHandler().setReferenceMode(false);
    click(reference);
    tick();
    EXPECT_TRUE(transform->fileHandler().referenceMode());
    EXPECT_TRUE(reference.isOn() && !repair.isOn());
}

TEST_F(MainWindowTest, DiscardActsInTheCapturedAndReadyStatesOnly)
{
    start("Pro Tools");
    UI::MainWindow& w = openWindow();
    for (uint32_t state : {0u, 1u}) {
        setState(state);
        w.discard();
        tick();
        EXPECT_EQ(transform->state(), state);
    }
    for (uint32_t state : {2u, 3u}) {
        setState(state);
        tick();
        auto& discard = find<Button>("Discard Button");
        ASSERT_TRUE(discard.isEnabled()) << state;
        click(discard);
        tick();
        EXPECT_EQ(transform->state(), 0u) << state;
    }
}

TEST_F(MainWindowTest, RepairedFilesLoadOnlyWhenTheHostTheStateAndTheWindowAllow)
{
    start("Pro Tools");
    UI::MainWindow& w = openWindow();
    EXPECT_FALSE(w.loadRepairedFiles()); // none in the folder
    leaveRepairedFiles("Pro Tools", 1);
    for (uint32_t state : {1u, 3u}) {
        setState(state);
        EXPECT_FALSE(w.loadRepairedFiles()) << state;
    }
    setState(2);
    EXPECT_TRUE(w.loadRepairedFiles());
    EXPECT_TRUE(w.repairedLoaded());
    EXPECT_FALSE(w.loadRepairedFiles()); // once per window until reset
    w.resetLoaded(true);
    EXPECT_FALSE(w.loadRepairedFiles());
    w.resetLoaded(false);
    EXPECT_TRUE(w.loadRepairedFiles());
    tick();
    EXPECT_EQ(transform->state(), 3u);
    EXPECT_EQ(transform->fileHandler().repairedList(),
              std::vector<Util::String>{folder() + "/Pro Tools 1 [tw-relay] 1 repaired.wav"});

    // An unsupported host never loads.
    plugin.reset();
    start("Logic Pro X");
    leaveRepairedFiles("Logic Pro", 1);
    EXPECT_FALSE(openWindow().loadRepairedFiles());
}

TEST_F(MainWindowTest, AWindowBuiltWhileRepairedFilesWaitLoadsThem)
{
    start("Pro Tools");
    leaveRepairedFiles("Pro Tools", 3);
    settings.SetBool("ReadyToWrite", true);
    UI::MainWindow& w = openWindow();
    EXPECT_TRUE(w.repairedLoaded());
    tick();
    EXPECT_EQ(transform->state(), 3u);
    EXPECT_EQ(shownThumbnails().size(), 3u);

    // Without the stored flag nothing loads.
    plugin->closeEditor();
    plugin.reset();
    settings.SetBool("ReadyToWrite", false);
    makePlugin();
    EXPECT_FALSE(openWindow().repairedLoaded());
    tick();
    EXPECT_EQ(transform->state(), 0u);
}

TEST_F(MainWindowTest, TheInfoTextReplacesTheClipListUntilItsCloseButton)
{
    start("Pro Tools");
    UI::MainWindow& w = openWindow();
    w.showInfoText(DSP::Transform::LimitNotice);
    auto& info = find<UI::MultiText>("Info Text");
    EXPECT_FALSE(info.isHidden());
    EXPECT_EQ(info.text(), DSP::Transform::LimitNotice);
    EXPECT_TRUE(find("Clip ScrollView")->isHidden());
    EXPECT_TRUE(find("Gradient Bitmap")->isHidden());
    auto& close = find<Button>("Info Text Close Button");
    ASSERT_FALSE(close.isHidden());
    click(close);
    EXPECT_TRUE(info.isHidden());
    EXPECT_TRUE(close.isHidden());
    EXPECT_FALSE(find("Clip ScrollView")->isHidden());
    EXPECT_FALSE(find("Gradient Bitmap")->isHidden());
}

TEST_F(MainWindowTest, TheWrapperHelpButtonTogglesThePopoverWithTheHelpAndHostHelpButtons)
{
    start("Pro Tools");
    settings.SetString("HelpDocPath", "/srv/manuals");
    UI::MainWindow& w = openWindow();
    auto& popover = find<UI::Radudar::PopoverBackground>("Help Popover");
    ASSERT_NE(w.wrapperHelpButton(), nullptr);
    click(*w.wrapperHelpButton());
    ASSERT_FALSE(popover.isHidden());
    EXPECT_TRUE(w.wrapperHelpButton()->isLatched());

    auto* help = popover.findChild("Help Button");
    click(*help);
    click(*help);
    EXPECT_EQ(factory.help.roots, std::vector<std::string>{"/srv/manuals"}); // made once, with the override
    EXPECT_EQ(factory.help.pages, (std::vector<uint32_t>{44, 44}));
    click(*popover.findChild("Host Help Button"));
    EXPECT_EQ(browser.opened, std::vector<std::string>{UI::MainWindow::HostHelpAddress});

    click(*w.wrapperHelpButton());
    EXPECT_TRUE(popover.isHidden());
    EXPECT_FALSE(w.wrapperHelpButton()->isLatched());
}

TEST_F(MainWindowTest, HostsThatPollTheSettingsStoreLoadAndDiscardOnTheEditorsRequests)
{
    const struct {
        const char* process;
        const char* name;
    } hosts[] = {{"MediaComposer", "Media Composer"}, {"Audition", "Audition"}, {"Samplitude", "Samplitude"},
                 {"Sequoia", "Sequoia"}};
    for (const auto& host : hosts) {
        start(host.process);
        leaveRepairedFiles(host.name, 2);
        openWindow();
        Util::ConfigFile editor(UI::MainWindow::EditorRequestsKey);
        const std::string sentBack = std::string("SentBackToHost.") + host.name;
        const std::string discardCalled = std::string("DiscardCalled.") + host.name;
        editor.SetBool(sentBack, true);
        tick(UI::MainWindow::PollIntervalMs);
        tick();
        EXPECT_EQ(transform->state(), 3u) << host.name;
        EXPECT_FALSE(editor.GetBool(sentBack, true)) << host.name;

        editor.SetBool(discardCalled, true);
        tick(UI::MainWindow::PollIntervalMs);
        tick();
        EXPECT_EQ(transform->state(), 0u) << host.name;
        EXPECT_FALSE(editor.GetBool(discardCalled, true)) << host.name;
        plugin.reset();
    }

    // Other hosts hear of repaired files by message only.
    start("Pro Tools");
    leaveRepairedFiles("Pro Tools", 1);
    openWindow();
    Util::ConfigFile(UI::MainWindow::EditorRequestsKey).SetBool("SentBackToHost.Pro Tools", true);
    tick(UI::MainWindow::PollIntervalMs);
    tick();
    EXPECT_EQ(transform->state(), 0u);
}

TEST_F(MainWindowTest, TheConsoleCommandSwitchesTheDiagnosticStateWhateverItsCaseAndBlanks)
{
    start("Pro Tools");
    UI::MainWindow& w = openWindow();
    const struct {
        const char* line;
        bool on;
    } steps[] = {{"relay display state on", true},      {"relay display state off", false},
                 {"RELAY Display State ON ", true},     {"relay display state maybe", true},
                 {"\t relay display state off\r\n", false}, {"relay  display state on", false}};
    for (const auto& step : steps) {
        w.consoleCommand(step.line);
        EXPECT_EQ(settings.GetBool("Relay Display State", !step.on), step.on) << step.line;
    }
    // While it is on, every refresh writes the state into the diagnostic label.
    w.consoleCommand("relay display state on");
    setState(2);
    tick();
    EXPECT_EQ(find<UI::Radudar::Label>("StatusText").text(), "Relay Status: Captured");
}

TEST_F(MainWindowTest, TheUpdaterStartsSilentlyWhenACheckIsDue)
{
    start("Pro Tools");
    Util::ConfigFile updater(UI::UpdateCheck::SettingsKey);
    updater.SetUInt("UpdateInterval", 1);
    updater.SetUInt("LastUpdateCheckTime", 1000);
    updater.SetString("UpdaterPath", "/opt/Quillex/Updater/QxUpdater");
    openWindow();
    using Start = std::pair<std::string, std::string>;
    EXPECT_EQ(shell.started, std::vector<Start>{Start("/opt/Quillex/Updater/QxUpdater", "-silent")});
    EXPECT_EQ(updater.GetUInt("LastUpdateCheckTime", 0), 1000u); // the updater records its check, not the window

    plugin->closeEditor();
    updater.SetUInt("UpdateInterval", 0);
    openWindow();
    EXPECT_EQ(shell.started.size(), 1u);
}

TEST(UpdateCheck, IsDueOnlyOnceStrictlyMoreThanTheIntervalHasPassed)
{
    Util::ConfigFile updater(UI::UpdateCheck::SettingsKey);
    const int64_t now = 1'700'000'000;
    const struct {
        uint32_t setting;
        int64_t elapsed;
        bool due;
    } cases[] = {
        {1, 86400, false},   {1, 86401, true},   {2, 604800, false}, {2, 604801, true},
        {3, 2678400, false}, {3, 2678401, true}, {0, now, false},    {4, now, false},
        {2, -10, false}, // a check time in the future
    };
    for (const auto& c : cases) {
        updater.SetUInt("UpdateInterval", c.setting);
        updater.SetUInt("LastUpdateCheckTime", uint32_t(now - c.elapsed));
        EXPECT_EQ(UI::UpdateCheck::due(updater, now), c.due) << c.setting << " after " << c.elapsed;
    }
}

TEST_F(MainWindowTest, TheEditorsMessagesReachTheWindowThroughThePipeTimer)
{
    prepare("Pro Tools");
    settings.SetBool("Reference Clip", false); // a repair pass
    TestSupport::StandinProcess editor({"--folder", folder()});
    factory.endpoints = editor.endpoints();
    makePlugin();
    // A notice to an editor not connected yet is dropped: the link is up once
    // one is taken (the stand-in logs that one).
    const std::string windowOpened = "RECV push frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 05 -- enum 5";
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!transform->sendToEditor(Shuttle::EditorMessage::WindowOpened) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_NE(editor.expect(windowOpened), "");
    UI::MainWindow& w = openWindow();
    EXPECT_NE(editor.expect(windowOpened), ""); // the build's own

    // The pass ends; the editor repairs the clip and sends 4; the window loads it.
    capturePass(1);
    EXPECT_NE(editor.expect("-- enum 1"), "");
    ASSERT_TRUE(idleUntil([&] { return w.shuttleState() == 3; }));
    EXPECT_EQ(statusText(), "Press RENDER to commit changes.");
    ASSERT_EQ(shownThumbnails().size(), 1u);
    EXPECT_TRUE(shownThumbnails()[0]->isHighlighted());

    // The editor's discard (3) runs the window's discard, which answers with 3.
    editor.command("discard");
    ASSERT_TRUE(idleUntil([&] { return w.shuttleState() == 0; }));
    EXPECT_NE(editor.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 03 -- enum 3"), "");
    EXPECT_EQ(statusText(), proToolsIdle);
}

TEST_F(MainWindowTest, AnIdleCallThatChangesNothingDrawsNothing)
{
    start("Pro Tools");
    UI::MainWindow& w = openWindow(); // opening draws the first frame
    for (int i = 0; i < 5; ++i) {
        tick(); // the pipe timer runs every time
        EXPECT_TRUE(w.lastDrawn().empty()) << i;
    }
    setState(1);
    tick();
    const UI::Rect text = find("Status Text")->canvasFrame();
    EXPECT_TRUE(w.lastDrawn().contains({text.left + 1, text.top + 1}));
}
