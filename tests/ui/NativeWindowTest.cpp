#include <gtest/gtest.h>

#include "ImageCompare.h"
#include "MainWindowStandIn.h"
#include "platform/NativeWindow.h"
#include "support/TestDisplay.h"
#include "ui/FrameWindow.h"
#include "ui/PluginWrapperHeader.h"
#include "ui/PluginEditorWindow.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"
#include "support/WidgetGallery.h"
#include "util/Log.h"

#include <chrono>
#include <thread>

namespace {

// The page with every window kind as a plug-in window: the same canvas as the
// off-screen rendering test (the wrapper header and frame are put away).
class GalleryWindow : public UI::MainPluginWindow {
protected:
    void buildChildren() override
    {
        wrapperHeader()->hide();
        frameWindow().hide();
        UI::buildWidgetGallery(canvas());
    }
};

struct NativeFixture : ::testing::Test {
    void SetUp() override
    {
        if (!TestSupport::TestDisplay::readyForWindows())
            return;
        host = Platform::DesktopWindow::create(470, 276, "relay test host");
        ASSERT_NE(host, nullptr) << "the test's host window could not be made";
    }

    PluginEditor::OpenRequest inHost() const
    {
        PluginEditor::OpenRequest request;
        request.parentWindow = host->handle();
        request.width = 470;
        request.height = 276;
        return request;
    }

    // Lets both sides of the display talk until `done` or a generous bound.
    template <typename Done>
    bool pump(PluginEditor& editor, Done done)
    {
        for (int i = 0; i < 400; ++i) {
            host->sync();
            editor.idle();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    std::unique_ptr<Platform::DesktopWindow> host;
};

} // namespace

TEST_F(NativeFixture, TheWindowOnScreenShowsWhatTheOffScreenTargetDraws)
{
    auto editor = UI::createPluginEditor([] { return std::make_unique<GalleryWindow>(); });
    ASSERT_TRUE(editor->open(inHost()));
    const uint64_t child = editor->windowHandle();
    ASSERT_NE(child, 0u);
    EXPECT_EQ(host->childWindows(), std::vector<uint64_t>{child});

    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(pump(*editor, [&] { return host->capture(child, pixels, width, height); }));
    ASSERT_EQ(width, 470);
    ASSERT_EQ(height, 276);
    UI::Image onScreen(width, height);
    std::copy(pixels.begin(), pixels.end(), onScreen.data());

    onScreen.savePng(std::string(RELAY_BINARY_DIR) + "/WidgetGallery.screen.png");
    GalleryWindow offScreen;
    ASSERT_TRUE(offScreen.open(0));
    const auto d = TestSupport::compareImages(onScreen, offScreen.hostWindow().image(), 0);
    ASSERT_TRUE(d.sameSize);
    EXPECT_EQ(d.largest, 0) << "the screen must show the drawn pixels exactly";
    // ... which are those of the page drawn on a bare canvas.
    UI::Canvas bare(470, 276);
    UI::buildWidgetGallery(bare);
    UI::Image drawn(470, 276);
    bare.renderAll(drawn);
    EXPECT_EQ(TestSupport::compareImages(onScreen, drawn, 0).largest, 0);

    // Raised and activated, it stays where it is.
    static_cast<UI::PluginEditorWindow&>(*editor).window()->raiseNativeWindow(true, true);
    host->sync();
    ASSERT_TRUE(host->capture(child, pixels, width, height));
    EXPECT_EQ(width, 470);
    EXPECT_EQ(height, 276);

    editor->close();
    host->sync();
    EXPECT_TRUE(host->childWindows().empty());
    EXPECT_EQ(editor->windowHandle(), 0u);
}

TEST_F(NativeFixture, ClicksArriveAsWindowSystemEvents)
{
    auto editor = UI::createPluginEditor([] { return std::make_unique<TestSupport::MainWindowStandIn>(); });
    ASSERT_TRUE(editor->open(inHost()));
    auto* window = static_cast<UI::PluginEditorWindow&>(*editor).window();
    auto* discard = dynamic_cast<UI::Radudar::MouseOverButton*>(window->canvas().findChild("Discard Button"));
    auto* repair = dynamic_cast<UI::Radudar::MouseOverOnOffButton*>(window->canvas().findChild("Repair On Off Button"));
    ASSERT_TRUE(discard && repair);
    Trackable receiver;
    int discards = 0, repairs = 0;
    receiver.connect(discard->clicked, [&] { ++discards; });
    receiver.connect(repair->clicked, [&] { ++repairs; });
    const uint64_t child = editor->windowHandle();

    const UI::Rect r = discard->canvasFrame();
    const int x = r.left + r.width() / 2, y = r.top + r.height() / 2;
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Press, x, y);
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Release, x, y);
    ASSERT_TRUE(pump(*editor, [&] { return discards > 0; }));
    EXPECT_EQ(discards, 1);

    const UI::Rect q = repair->canvasFrame();
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Press, q.left + 10, q.top + 25);
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Release, q.left + 10, q.top + 25);
    ASSERT_TRUE(pump(*editor, [&] { return repairs > 0; }));
    EXPECT_EQ(repairs, 1);
    EXPECT_EQ(discards, 1);

    // A disabled button ignores the same events; a marker click after them
    // shows that they have all been handled.
    discard->enable(false);
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Press, x, y);
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Release, x, y);
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Press, q.left + 10, q.top + 25);
    host->sendPointer(child, Platform::DesktopWindow::Pointer::Release, q.left + 10, q.top + 25);
    ASSERT_TRUE(pump(*editor, [&] { return repairs > 1; }));
    EXPECT_EQ(discards, 1);
    EXPECT_EQ(repairs, 2);
}

TEST_F(NativeFixture, AWindowThatCannotBeMadeIsReported)
{
    Util::Log::Capture log;
    auto editor = UI::createPluginEditor();
    PluginEditor::OpenRequest request = inHost();
    request.parentWindow = 0x7ffffff0; // no such window
    EXPECT_FALSE(editor->open(request));
    EXPECT_TRUE(log.contains("Can't create the plug-in window in parent window 0x7ffffff0"));
    EXPECT_EQ(editor->windowHandle(), 0u);
    EXPECT_EQ(editor->idle(), 1u);
}
