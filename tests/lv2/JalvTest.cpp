// The plug-in in a real host: jalv.gtk3 on a private JACK server (the dummy
// backend) and the test's X display. Its main window shows inside jalv's
// window, drawn as the stored picture of the window for an unknown host.
#include <gtest/gtest.h>

#include "InstalledBundle.h"
#include "X11Windows.h"
#include "io/ConfigFile.h"
#include "platform/NativeWindow.h"
#include "support/ChildProcess.h"
#include "support/TestDisplay.h"
#include "ui/ImageCompare.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <functional>
#include <thread>
#include <unistd.h>

using namespace Lv2Test;

namespace {

constexpr int EditorWidth = 470, EditorHeight = 276;

// True once `done` is, polled until a bound for a loaded machine.
bool waitFor(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(30))
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

std::string nameOf(Display* display, Window window)
{
    char* name = nullptr;
    std::string text;
    if (XFetchName(display, window, &name) && name) {
        text = name;
        XFree(name);
    }
    return text;
}

// The deepest window of the editor's size below `window`: the plug-in's own.
Window deepestEditorSized(Display* display, Window window)
{
    for (Window child : childWindows(display, window))
        if (Window found = deepestEditorSized(display, child))
            return found;
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) && attributes.width == EditorWidth &&
        attributes.height == EditorHeight && attributes.map_state == IsViewable)
        return window;
    return 0;
}

// The editor inside the top-level window jalv names after the plug-in.
Window editorInside(Display* display, const std::string& title)
{
    for (Window top : childWindows(display, DefaultRootWindow(display)))
        if (nameOf(display, top) == title)
            return deepestEditorSized(display, top);
    return 0;
}

// A program run through the shell with its output discarded (jackd writes a
// line for every xrun; nobody reads it), ended at destruction.
TestSupport::ChildProcess quietly(const std::string& command)
{
    return TestSupport::ChildProcess({"/bin/sh", "-c", "exec " + command + " >/dev/null 2>&1"});
}

} // namespace

TEST(JalvHost, TheMainWindowOpensInsideJalvsWindow)
{
    if (!TestSupport::TestDisplay::readyForWindows())
        return;
    Display* display = TestSupport::TestDisplay::connection();
    InstalledBundle::lv2Path();
    // The window of an idle instance with REFERENCE chosen.
    Util::ConfigFile settings("SOFTWARE\\Quillex\\TW6Relay");
    settings.SetBool("Reference Clip", true);
    settings.RemoveValue("ReadyToWrite");

    const std::string server = "relay-lv2-test-" + std::to_string(getpid());
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    auto jack = quietly("jackd -n '" + server + "' -r -d dummy -r 48000 -p 256");
    ASSERT_TRUE(waitFor([] { return runCommand("jack_lsp").status == 0; })) << "the JACK server did not start";
    auto jalv = quietly(std::string("jalv.gtk3 ") + InstalledBundle::Stereo);

    Window editor = 0;
    ASSERT_TRUE(waitFor([&] { return (editor = editorInside(display, "TW Relay (Stereo)")) != 0; }))
        << "no window of 470 x 276 inside jalv's window";

    const auto reference =
        UI::Image::loadPng(std::string(RELAY_SOURCE_DIR) + "/tests/ui/golden/MainWindow.Unknown.0.png");
    ASSERT_TRUE(reference);
    auto capturer = Platform::DesktopWindow::create(1, 1, "relay jalv test");
    ASSERT_NE(capturer, nullptr);
    UI::Image onScreen(EditorWidth, EditorHeight);
    TestSupport::ImageDifference difference;
    // The first frames may come before the window has drawn: wait for the picture.
    const bool drawn = waitFor([&] {
        std::vector<uint8_t> pixels;
        int width = 0, height = 0;
        if (!capturer->capture(editor, pixels, width, height) || width != EditorWidth || height != EditorHeight)
            return false;
        std::copy(pixels.begin(), pixels.end(), onScreen.data());
        difference = TestSupport::compareImages(onScreen, *reference, 24);
        return difference.pixelsOver <= size_t(EditorWidth * EditorHeight / 500) && difference.mean < 0.5;
    });
    const std::string actual = std::string(RELAY_BINARY_DIR) + "/MainWindow.jalv.screen.png";
    onScreen.savePng(actual);
    EXPECT_TRUE(drawn) << difference.pixelsOver << " pixels apart, mean " << difference.mean << "; see " << actual;
}
