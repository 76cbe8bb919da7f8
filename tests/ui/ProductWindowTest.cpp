#include "MainWindowFixture.h"

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
    plugin->notifyElementSet();
    ASSERT_EQ(transform->state(), 2u);
    EXPECT_TRUE(transform->hasLink());

    plugin->closeEditor();
    EXPECT_EQ(plugin->editor(), nullptr);
    block(true);
    plugin->notifyElementSet();
    ASSERT_EQ(transform->state(), 2u);
    EXPECT_FALSE(transform->hasLink());

    // Opened again, a new window shows the state it finds.
    transform->ensureLink();
    openWindow();
    EXPECT_EQ(find<UI::MultiText>("Status Text").text(), "Audio clip(s) are now available in TW.");
}
