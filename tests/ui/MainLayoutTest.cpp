#include <gtest/gtest.h>

#include "ImageCompare.h"
#include "MainWindowStandIn.h"
#include "ui/PluginEditorWindow.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"
#include "util/Log.h"

#include <cstdlib>

namespace {

UI::Window* find(UI::Canvas& canvas, std::initializer_list<const char*> path)
{
    UI::Window* w = &canvas;
    for (const char* name : path)
        if (!(w = w->findChild(name)))
            return nullptr;
    return w;
}

} // namespace

TEST(MainLayout, PlacesEveryWindowOfItsTable)
{
    Util::Log::Capture log;
    TestSupport::MainWindowStandIn window;
    ASSERT_TRUE(window.open(0));
    EXPECT_TRUE(log.messages().empty()) << log.messages().front();
    UI::Canvas& canvas = window.canvas();

    struct Row {
        std::initializer_list<const char*> path;
        int x, y, width, height;
    };
    const Row rows[] = {
        {{"MainPluginWindow Pulse Overlay Timer"}, 0, 0, 1, 1},
        {{"StatusText"}, 0, 212, 360, 27},
        {{"MessageText"}, 200, 12, 300, 15},
        {{"DirtyText"}, 200, 34, 300, 15},
        {{"Scroll View Background"}, 10, 55, 450, 112},
        {{"Status Label"}, 86, 46, 304, 14},
        {{"Info Text Close Button"}, 398, 103, 13, 13},
        {{"Reference On Off Button"}, 75, 176, 160, 51},
        {{"Reference On Off Button", "Title Text"}, 59, 16, 83, 23},
        {{"Reference On Off Button", "Subtitle Text"}, 59, 22, 160, 25},
        {{"Repair On Off Button"}, 287, 176, 110, 51},
        {{"Repair On Off Button", "Title Text"}, 59, 16, 52, 23},
        {{"Repair On Off Button", "Subtitle Text"}, 59, 22, 160, 25},
        {{"Sent Reference Label"}, 143, 138, 219, 18},
        {{"Clip ScrollView"}, 21, 66, 428, 90},
        {{"Clip ScrollView", "Thumbnail 1", "Label"}, 0, 11, 418, 14},
        {{"Clip ScrollView", "Thumbnail 5", "Label"}, 0, 5, 405, 12},
        {{"Clip ScrollView", "Thumbnail 6", "Label"}, 5, 10, -19, 14},
        {{"Clip ScrollView", "Thumbnail 16", "Label"}, 5, 10, -19, 14},
        {{"Info Text"}, 83, 103, 304, 90},
        {{"Status Text"}, 77, 97, 327, 80},
        {{"Gradient Bitmap"}, 10, 56, 449, 110},
        {{"Help Popover"}, 184, 2, 256, 58},
        {{"Help Popover", "Help Button"}, 7, 7, 229, 18},
        {{"Help Popover", "Host Help Button"}, 7, 29, 229, 18},
        {{"Discard Button"}, 17, 138, 21, 22},
    };
    for (const auto& row : rows) {
        const UI::Window* w = find(canvas, row.path);
        ASSERT_NE(w, nullptr) << *row.path.begin();
        EXPECT_EQ(w->frame(), UI::Rect::fromSize(row.x, row.y, row.width, row.height)) << w->name();
    }

    EXPECT_EQ(*find(canvas, {"StatusText"})->propertyText("Text"), "Status unset");
    EXPECT_EQ(*find(canvas, {"MessageText"})->propertyText("Text"), "Message not set");
    EXPECT_EQ(*find(canvas, {"DirtyText"})->propertyText("Text"), "Dirty not set");
    EXPECT_EQ(*find(canvas, {"Status Label"})->propertyText("Style"), "Bright");
    EXPECT_EQ(*find(canvas, {"Sent Reference Label"})->propertyText("Text"), "Reference clip(s) successfully sent to TW.");
    auto* reference = dynamic_cast<UI::Radudar::MouseOverOnOffButton*>(find(canvas, {"Reference On Off Button"}));
    auto* repair = dynamic_cast<UI::Radudar::MouseOverOnOffButton*>(find(canvas, {"Repair On Off Button"}));
    ASSERT_TRUE(reference && repair);
    EXPECT_EQ(reference->titleText().text(), "REFERENCE");
    EXPECT_EQ(repair->titleText().text(), "REPAIR");
    EXPECT_EQ(reference->currentImageName(), "png/buttonOneWayOff.png");
    EXPECT_EQ(repair->currentImageName(), "png/buttonRoundTripOff.png");
    reference->setOn(true);
    EXPECT_EQ(reference->currentImageName(), "png/buttonOneWayOn.png");
    auto* discard = dynamic_cast<UI::Radudar::MouseOverButton*>(find(canvas, {"Discard Button"}));
    auto* close = dynamic_cast<UI::Radudar::MouseOverButton*>(find(canvas, {"Info Text Close Button"}));
    ASSERT_TRUE(discard && close);
    EXPECT_EQ(discard->currentImageName(), "png/ShuttleTrashNormal.png");
    EXPECT_EQ(close->currentImageName(), "png/CloseButtonLightNormal.png");
    EXPECT_TRUE(find(canvas, {"Scroll View Background"})->createdByLayout());
}

TEST(MainLayout, ThePlainWindowReportsTheWindowsOnlyTheMainWindowMakes)
{
    Util::Log::Capture log;
    auto editor = UI::createPluginEditor();
    ASSERT_TRUE(editor->open({}));
    EXPECT_EQ(log.messages(), (std::vector<Util::String>{"Child Clip ScrollView not found", "Child Info Text not found",
                                                          "Child Status Text not found", "Child Gradient Bitmap not found",
                                                          "Child Help Popover not found"}));
    auto* window = static_cast<UI::PluginEditorWindow&>(*editor).window();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(window->canvas().findChild("Discard Button"), nullptr);
    EXPECT_NE(window->wrapperHelpButton(), nullptr);
}

TEST(MainLayout, TheLaidOutWindowMatchesTheStoredReference)
{
    TestSupport::MainWindowStandIn window;
    ASSERT_TRUE(window.open(0));
    const std::string actual = std::string(RELAY_BINARY_DIR) + "/MainWindow.actual.png";
    ASSERT_TRUE(window.hostWindow().saveImage(actual));
    const std::string golden = std::string(RELAY_UI_TEST_DIR) + "/golden/MainWindow.png";
    if (std::getenv("RELAY_UPDATE_GOLDEN")) {
        ASSERT_TRUE(window.hostWindow().saveImage(golden));
        GTEST_SKIP() << "reference written to " << golden;
    }
    const auto reference = UI::Image::loadPng(golden);
    ASSERT_TRUE(reference) << "no reference; run with RELAY_UPDATE_GOLDEN=1";
    const auto d = TestSupport::compareImages(window.hostWindow().image(), *reference, 24);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LE(d.pixelsOver, size_t(470 * 276 / 500)) << "see " << actual;
    EXPECT_LT(d.mean, 0.5) << "see " << actual;
}
