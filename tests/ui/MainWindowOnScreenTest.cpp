#include "ImageCompare.h"
#include "MainWindowFixture.h"

#include "platform/NativeWindow.h"
#include "support/TestDisplay.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"

#include <chrono>
#include <thread>

namespace {

// The main window inside a real X11 parent window (a test's stand-in for the
// host's editor frame), driven by window-system events.
class MainWindowOnScreen : public TestSupport::MainWindowFixture {
protected:
    void SetUp() override
    {
        if (!TestSupport::TestDisplay::readyForWindows())
            return;
        host = Platform::DesktopWindow::create(470, 276, "relay test host");
        ASSERT_NE(host, nullptr) << "the test's host window could not be made";
    }

    // Both sides of the display talk, and the instance idles, until `done`
    // or a bound for a loaded machine.
    template <typename Done>
    bool pump(Done done)
    {
        for (int i = 0; i < 400; ++i) {
            host->sync();
            tick();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // A press and release in the middle of a window, sent by the X server.
    void press(uint64_t child, const UI::Window& target)
    {
        const UI::Rect r = target.canvasFrame();
        const int x = r.left + r.width() / 2, y = r.top + r.height() / 2;
        host->sendPointer(child, Platform::DesktopWindow::Pointer::Press, x, y);
        host->sendPointer(child, Platform::DesktopWindow::Pointer::Release, x, y);
    }

    std::unique_ptr<Platform::DesktopWindow> host;
};

} // namespace

TEST_F(MainWindowOnScreen, ShowsTheStoredPictureAndTakesPressesFromTheXServer)
{
    start("Pro Tools");
    capturePass(3);
    ASSERT_EQ(transform->state(), 2u);
    PluginEditor::OpenRequest request;
    request.parentWindow = host->handle();
    request.width = 470;
    request.height = 276;
    ASSERT_EQ(plugin->openEditor(request), 0);
    const uint64_t child = plugin->editorWindowHandle();
    ASSERT_NE(child, 0u);
    EXPECT_EQ(host->childWindows(), std::vector<uint64_t>{child});

    // What the screen shows is the stored picture of this state.
    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(pump([&] { return host->capture(child, pixels, width, height); }));
    ASSERT_EQ(width, 470);
    ASSERT_EQ(height, 276);
    UI::Image onScreen(width, height);
    std::copy(pixels.begin(), pixels.end(), onScreen.data());
    const std::string actual = std::string(RELAY_BINARY_DIR) + "/MainWindow.ProTools.2.screen.png";
    onScreen.savePng(actual);
    const auto reference = UI::Image::loadPng(std::string(RELAY_UI_TEST_DIR) + "/golden/MainWindow.ProTools.2.png");
    ASSERT_TRUE(reference) << "no reference; run with RELAY_UPDATE_GOLDEN=1";
    const auto d = TestSupport::compareImages(onScreen, *reference, 24);
    EXPECT_LE(d.pixelsOver, size_t(470 * 276 / 500)) << "see " << actual;
    EXPECT_LT(d.mean, 0.5) << "see " << actual;

    // REPAIR, then Discard, pressed on the screen.
    press(child, find<UI::Radudar::MouseOverOnOffButton>("Repair On Off Button"));
    ASSERT_TRUE(pump([&] { return !settings.GetBool("Reference Clip", true); }));
    EXPECT_TRUE(find<UI::Radudar::MouseOverOnOffButton>("Repair On Off Button").isOn());
    press(child, find<UI::Radudar::MouseOverButton>("Discard Button"));
    ASSERT_TRUE(pump([&] { return transform->state() == 0; }));
    ASSERT_TRUE(pump([&] { return window().shuttleState() == 0 && shownThumbnails().empty(); }));

    plugin->closeEditor();
    host->sync();
    EXPECT_TRUE(host->childWindows().empty());
}
