#include "MainWindowFixture.h"

#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarPopoverBackground.h"

namespace {
class ProductWindow : public TestSupport::MainWindowFixture {};
} // namespace

// Selector 28 opens the editor through the product factory: the main window,
// attached to the transform while it is open. Samplitude shows the attachment:
// its link is dropped after a capture only when no window is open.
TEST_F(ProductWindow, OpeningTheEditorMakesTheMainWindowAndClosingItDestroysIt)
{
    factory.productWindow = true;
    start("Samplitude Pro X");
    UI::MainWindow& w = openWindow();
    EXPECT_EQ(w.host().number(), 25u);
    EXPECT_EQ(find<UI::MultiText>("Status Text").text(),
              "Select REFERENCE or REPAIR then press OK\nin the Plug-Ins Wave-Editing window\n to send the clips to TW.");
    block(true);
    plugin->notifyElementSet(); // processing stopped: the disk thread ends the pass
    transform->drain();
    ASSERT_EQ(transform->state(), 2u);
    EXPECT_TRUE(transform->hasLink());

    plugin->closeEditor();
    EXPECT_EQ(plugin->editor(), nullptr);
    block(true);
    plugin->notifyElementSet();
    transform->drain();
    ASSERT_EQ(transform->state(), 2u);
    EXPECT_FALSE(transform->hasLink());

    // Opened again, a new window shows the state it finds.
    transform->ensureLink();
    openWindow();
    EXPECT_EQ(find<UI::MultiText>("Status Text").text(), "Audio clip(s) are now available in TW.");
}

// The product's window opens its help page through the help manager, in the
// folder that "HelpDocPath" names.
TEST_F(ProductWindow, HelpOpensThisPlugInsChapterOfTheManual)
{
    factory.productWindow = true;
    start("Pro Tools");
    const std::string manual = TestSupport::makeTempFolder("manual");
    std::filesystem::create_directories(manual + "/60-tw-relay");
    std::ofstream(manual + "/60-tw-relay/index.html") << "<html></html>";
    settings.SetString("HelpDocPath", manual);
    UI::MainWindow& w = openWindow();
    click(*w.wrapperHelpButton());
    click(*find<UI::Radudar::PopoverBackground>("Help Popover").findChild("Help Button"));
    ASSERT_EQ(browser.opened.size(), 1u);
    EXPECT_EQ(browser.opened[0], "file://" + manual + "/60-tw-relay/index.html");
}
