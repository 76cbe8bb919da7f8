#include <gtest/gtest.h>

#include "product/PluginFactoryImpl.h"
#include "platform/NativeWindow.h"
#include "core/PluginFactory.h"
#include "platform/posix/X11MessageBox.h"
#include "support/ScopedVariable.h"
#include "support/TestDisplay.h"
#include "ui/MessageBoxFace.h"
#include "util/Log.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Icon = Platform::MessageBox::Icon;
using Clock = std::chrono::steady_clock;
// A bound for a loaded machine, never a measure of speed.
constexpr auto Patience = std::chrono::seconds(20);

using TestSupport::ScopedVariable;

template <typename Done>
bool waitUntil(Done done)
{
    for (const auto end = Clock::now() + Patience; Clock::now() < end;) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

// X protocol errors of connections other than the test's own: the dialog's.
std::atomic<Display*> testDisplay{nullptr};
std::atomic<int> dialogErrors{0};
int recordError(Display* display, XErrorEvent*)
{
    if (display != testDisplay.load())
        ++dialogErrors;
    return 0;
}

// The test's side of the X server: finds the dialog among every client's
// windows, reads its properties and sends it events as another client would,
// on the test program's own connection.
class Server {
public:
    Display* display() const { return display_; }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

    // The viewable window whose _NET_WM_NAME is `title`, 0 when there is none.
    Window find(const std::string& title) const { return findBelow(DefaultRootWindow(display_), title); }
    Window waitFor(const std::string& title) const
    {
        Window found = 0;
        waitUntil([&] { return (found = find(title)) != 0; });
        return found;
    }

    std::optional<std::string> text(Window window, const char* property, Atom* type = nullptr) const
    {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, atom(property), 0, 4096, False, AnyPropertyType, &actual, &format,
                               &count, &after, &data) != Success ||
            !data)
            return std::nullopt;
        std::string value(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (type)
            *type = actual;
        return value;
    }

    std::vector<Atom> atoms(Window window, const char* property) const
    {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<Atom> result;
        if (XGetWindowProperty(display_, window, atom(property), 0, 64, False, XA_ATOM, &actual, &format, &count,
                               &after, &data) == Success &&
            data) {
            const auto* values = reinterpret_cast<const Atom*>(data);
            result.assign(values, values + count);
            XFree(data);
        }
        return result;
    }

    void sendKey(Window window, KeySym key) const
    {
        XEvent event{};
        event.xkey.type = KeyPress;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(display_);
        event.xkey.keycode = XKeysymToKeycode(display_, key);
        event.xkey.same_screen = True;
        event.xkey.time = CurrentTime;
        XSendEvent(display_, window, False, KeyPressMask, &event);
        XSync(display_, False);
    }

    // What the window manager sends when the user closes the window.
    void sendDeleteWindow(Window window) const
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atom("WM_PROTOCOLS");
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(atom("WM_DELETE_WINDOW"));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XSync(display_, False);
    }

private:
    Window findBelow(Window parent, const std::string& title) const
    {
        Window root = 0, up = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, parent, &root, &up, &children, &count))
            return 0;
        std::vector<Window> windows(children, children + count);
        if (children)
            XFree(children);
        for (Window w : windows) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, w, &attributes) && attributes.map_state == IsViewable &&
                text(w, "_NET_WM_NAME") == title)
                return w;
            if (Window below = findBelow(w, title))
                return below;
        }
        return 0;
    }

    Display* display_ = TestSupport::TestDisplay::connection();
};

// show() on a thread of its own, as the editor launcher's worker calls it.
class ShowCall {
public:
    ShowCall(Platform::MessageBox& box, const std::string& title, const std::string& text, Icon icon)
        : title_(title), returned_(std::make_shared<std::atomic<bool>>(false)),
          thread_([&box, title, text, icon, returned = returned_] {
              box.show(title, text, icon);
              *returned = true;
          })
    {
    }
    ~ShowCall()
    {
        // A box that did not close: take its connection away so that the thread ends.
        if (!*returned_) {
            Server server;
            if (Window w = server.find(title_))
                XKillClient(server.display(), w);
            XSync(server.display(), False);
            waitUntil([this] { return returned_->load(); });
        }
        if (*returned_)
            thread_.join();
        else
            thread_.detach(); // it shares nothing with this object
    }
    ShowCall(const ShowCall&) = delete;
    ShowCall& operator=(const ShowCall&) = delete;

    bool returned() const { return waitUntil([this] { return returned_->load(); }); }
    bool stillOpen() const { return !*returned_; }

private:
    std::string title_;
    std::shared_ptr<std::atomic<bool>> returned_;
    std::thread thread_;
};

// A window's pixels as the screen shows them.
struct Picture {
    std::vector<uint8_t> rgba;
    int width = 0;
    int height = 0;
    const uint8_t* at(int x, int y) const { return rgba.data() + (size_t(y) * size_t(width) + size_t(x)) * 4; }
    template <typename Test>
    int count(int left, int top, int right, int bottom, Test test) const
    {
        int n = 0;
        for (int y = std::max(0, top); y < std::min(bottom, height); ++y)
            for (int x = std::max(0, left); x < std::min(right, width); ++x)
                n += test(at(x, y)) ? 1 : 0;
        return n;
    }
};

bool isRed(const uint8_t* p) { return p[0] > 180 && p[1] < 110 && p[2] < 110; }
bool isAmber(const uint8_t* p) { return p[0] > 180 && p[1] > 120 && p[2] < 100; }
bool isBlue(const uint8_t* p) { return p[2] > 150 && p[0] < 110 && p[2] > p[1] + 30; }
bool isBright(const uint8_t* p) { return p[0] > 150 && p[1] > 150 && p[2] > 150; }

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;
    int centreX() const { return (left + right) / 2; }
    int centreY() const { return (top + bottom) / 2; }
};

// The OK button found by its colour (the lit default button) in the right half.
std::optional<Box> findButton(const Picture& picture)
{
    Box box{picture.width, picture.height, -1, -1};
    for (int y = picture.height / 2; y < picture.height; ++y)
        for (int x = picture.width / 2; x < picture.width; ++x)
            if (isBlue(picture.at(x, y))) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    if (box.right - box.left < 20 || box.bottom - box.top < 10)
        return std::nullopt;
    return box;
}

// The default button is lit from the top; held down, its light comes from below.
bool looksPressed(const Picture& picture, const Box& button)
{
    return picture.at(button.centreX(), button.top + 3)[2] < picture.at(button.centreX(), button.bottom - 3)[2];
}

class X11MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TestSupport::TestDisplay::readyForWindows())
            return;
        screen = Platform::DesktopWindow::create(64, 64, "relay notice test screen");
        ASSERT_NE(screen, nullptr);
        testDisplay = server.display();
        dialogErrors = 0;
        previousHandler = XSetErrorHandler(recordError);
    }
    void TearDown() override
    {
        if (!screen)
            return; // set up stopped before the handler was installed
        XSetErrorHandler(previousHandler);
        EXPECT_EQ(dialogErrors.load(), 0) << "the dialog caused X protocol errors";
    }

    // The dialog titled `title` once it is on screen and has drawn its button.
    struct Shown {
        Window window = 0;
        Picture picture;
        Box button;
    };
    std::optional<Shown> shown(const std::string& title)
    {
        Shown dialog;
        dialog.window = server.waitFor(title);
        std::optional<Box> button;
        if (dialog.window == 0 || !waitUntil([&] {
                return screen->capture(dialog.window, dialog.picture.rgba, dialog.picture.width,
                                       dialog.picture.height) &&
                       (button = findButton(dialog.picture));
            }))
            return std::nullopt;
        dialog.button = *button;
        return dialog;
    }

    ScopedVariable dialogs{Platform::Posix::X11MessageBox::ModeVariable, nullptr};
    Server server;
    std::unique_ptr<Platform::DesktopWindow> screen;
    XErrorHandler previousHandler = nullptr;
    Platform::Posix::X11MessageBox box{UI::MessageBoxFace::maker()};
    Util::Log::Capture log;
};

} // namespace

TEST_F(X11MessageBoxTest, ShowsATitledFixedSizeDialogUntilReturnIsPressed)
{
    const std::string title = "Application Not Found (Return)";
    ShowCall call(box, title, "The program could not be launched.", Icon::Error);
    const Window dialog = server.waitFor(title);
    ASSERT_NE(dialog, 0u) << "no viewable window titled " << title;
    EXPECT_TRUE(call.stillOpen()) << "show() must wait for the user";

    Atom type = 0;
    EXPECT_EQ(server.text(dialog, "WM_NAME", &type), title);
    EXPECT_EQ(type, XA_STRING);
    EXPECT_EQ(server.atoms(dialog, "_NET_WM_WINDOW_TYPE"), std::vector<Atom>{server.atom("_NET_WM_WINDOW_TYPE_DIALOG")});
    const auto protocols = server.atoms(dialog, "WM_PROTOCOLS");
    EXPECT_NE(std::find(protocols.begin(), protocols.end(), server.atom("WM_DELETE_WINDOW")), protocols.end());
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(server.display(), dialog, &attributes));
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(server.display(), dialog, &hints, &supplied));
    EXPECT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
    EXPECT_EQ(hints.min_width, attributes.width);
    EXPECT_EQ(hints.max_width, attributes.width);
    EXPECT_EQ(hints.min_height, attributes.height);
    EXPECT_EQ(hints.max_height, attributes.height);
    ASSERT_TRUE(shown(title)) << "nothing drawn";

    server.sendKey(dialog, XK_Return);
    EXPECT_TRUE(call.returned());
    EXPECT_TRUE(log.contains(title + ": The program could not be launched."));
    EXPECT_EQ(server.find(title), 0u) << "the dialog stayed on screen";
}

TEST_F(X11MessageBoxTest, EachClosingKeyClosesItAndOtherKeysDoNot)
{
    const std::pair<KeySym, const char*> keys[] = {
        {XK_Escape, "Escape"}, {XK_space, "space"}, {XK_KP_Enter, "KP_Enter"}};
    for (const auto& [key, name] : keys) {
        SCOPED_TRACE(name);
        const std::string title = std::string("Key ") + name;
        ShowCall call(box, title, "Press a key.", Icon::Information);
        const auto dialog = shown(title);
        ASSERT_TRUE(dialog);
        server.sendKey(dialog->window, XK_a);
        server.sendKey(dialog->window, XK_Tab);
        server.sendKey(dialog->window, key);
        EXPECT_TRUE(call.returned());
    }
}

TEST_F(X11MessageBoxTest, TheWindowManagersCloseEndsIt)
{
    const std::string title = "Closed by the window manager";
    ShowCall call(box, title, "Close me.", Icon::Warning);
    const Window dialog = server.waitFor(title);
    ASSERT_NE(dialog, 0u);
    server.sendDeleteWindow(dialog);
    EXPECT_TRUE(call.returned());
    EXPECT_TRUE(log.contains(title + ": Close me."));
}

// Press and release both on OK close it; a click elsewhere, or a press on OK
// that is released elsewhere, does not. The button shows the press.
TEST_F(X11MessageBoxTest, AClickOnOkClosesItAndOtherClicksDoNot)
{
    const std::string title = "Click OK";
    ShowCall call(box, title, "Click the button.", Icon::Error);
    const auto shownBox = shown(title);
    ASSERT_TRUE(shownBox);
    const Window dialog = shownBox->window;
    const Box* button = &shownBox->button;
    ASSERT_FALSE(looksPressed(shownBox->picture, *button));
    using Pointer = Platform::DesktopWindow::Pointer;

    screen->sendPointer(dialog, Pointer::Press, 10, 10);
    screen->sendPointer(dialog, Pointer::Release, 10, 10);
    screen->sendPointer(dialog, Pointer::Press, button->centreX(), button->centreY());
    Picture now;
    EXPECT_TRUE(waitUntil([&] {
        return screen->capture(dialog, now.rgba, now.width, now.height) && looksPressed(now, *button);
    })) << "the button does not show the press, or an earlier click closed the box";
    screen->sendPointer(dialog, Pointer::Release, button->left - 30, button->centreY());
    EXPECT_TRUE(waitUntil([&] {
        return screen->capture(dialog, now.rgba, now.width, now.height) && !looksPressed(now, *button);
    })) << "a release beside the button closed the box or left it pressed";
    EXPECT_TRUE(call.stillOpen());

    screen->sendPointer(dialog, Pointer::Press, button->centreX(), button->centreY());
    screen->sendPointer(dialog, Pointer::Release, button->centreX(), button->centreY());
    screen->sync();
    EXPECT_TRUE(call.returned());
}

TEST_F(X11MessageBoxTest, DrawsTheIconOfTheKindAndTheText)
{
    struct Case {
        Icon icon;
        const char* name;
        bool (*colour)(const uint8_t*);
    };
    const Case cases[] = {{Icon::Error, "error", isRed}, {Icon::Warning, "warning", isAmber},
                          {Icon::Information, "information", isBlue}};
    bool (*const colours[])(const uint8_t*) = {isRed, isAmber, isBlue};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string title = std::string("Icon ") + c.name;
        ShowCall call(box, title, "Something happened that you should know about.", c.icon);
        const auto dialog = shown(title);
        ASSERT_TRUE(dialog);
        const Picture* picture = &dialog->picture;
        // The icon stands at the top left, the text to its right above the button row.
        for (auto colour : colours) {
            const int n = picture->count(0, 0, 60, 60, colour);
            if (colour == c.colour)
                EXPECT_GT(n, 150);
            else
                EXPECT_LT(n, 10);
        }
        EXPECT_GT(picture->count(60, 0, picture->width, dialog->button.top - 10, isBright), 100) << "no text drawn";
        server.sendKey(dialog->window, XK_Escape);
        EXPECT_TRUE(call.returned());
    }
}

TEST_F(X11MessageBoxTest, ALongTextWrapsIntoATallerBoxAndATitleBeyondAsciiStaysUtf8)
{
    const std::string shortTitle = "Short notice";
    const std::string longTitle = "Longue notice \xC3\xA9t\xC3\xA9";
    std::string longText;
    for (int i = 0; i < 12; ++i)
        longText += "The standalone application could not be launched at the configured path. ";
    XWindowAttributes shortBox{}, longBox{};
    {
        ShowCall call(box, shortTitle, "Short.", Icon::Information);
        const Window dialog = server.waitFor(shortTitle);
        ASSERT_NE(dialog, 0u);
        ASSERT_TRUE(XGetWindowAttributes(server.display(), dialog, &shortBox));
        server.sendKey(dialog, XK_Return);
        EXPECT_TRUE(call.returned());
    }
    {
        ShowCall call(box, longTitle, longText, Icon::Information);
        const Window dialog = server.waitFor(longTitle);
        ASSERT_NE(dialog, 0u);
        ASSERT_TRUE(XGetWindowAttributes(server.display(), dialog, &longBox));
        Atom type = 0;
        EXPECT_EQ(server.text(dialog, "WM_NAME", &type), longTitle);
        EXPECT_EQ(type, server.atom("UTF8_STRING"));
        server.sendKey(dialog, XK_Return);
        EXPECT_TRUE(call.returned());
    }
    EXPECT_LT(longBox.width, 700) << "the text was not wrapped";
    EXPECT_GT(longBox.height, shortBox.height + 100);
}

// The "kill client" of a window manager (or a server that goes away) ends the
// notice; it must not end the process.
TEST_F(X11MessageBoxTest, ALostConnectionEndsItWithoutEndingTheProcess)
{
    const std::string title = "Killed";
    ShowCall call(box, title, "Kill me.", Icon::Error);
    const Window dialog = server.waitFor(title);
    ASSERT_NE(dialog, 0u);
    XKillClient(server.display(), dialog);
    XSync(server.display(), False);
    EXPECT_TRUE(call.returned());
}

TEST_F(X11MessageBoxTest, TheProductInstallsTheDialogUnlessTheLogIsAsked)
{
    PluginFactoryImpl::product();
    for (const char* mode : {static_cast<const char*>(nullptr), "dialog"}) {
        SCOPED_TRACE(mode ? mode : "unset");
        const ScopedVariable setting(Platform::Posix::X11MessageBox::ModeVariable, mode);
        const std::string title = std::string("System box ") + (mode ? mode : "unset");
        ShowCall call(Platform::messageBox(), title, "Shown.", Icon::Warning);
        const Window dialog = server.waitFor(title);
        ASSERT_NE(dialog, 0u);
        server.sendKey(dialog, XK_Escape);
        EXPECT_TRUE(call.returned());
    }
    const ScopedVariable logOnly(Platform::Posix::X11MessageBox::ModeVariable, "log");
    ShowCall call(Platform::messageBox(), "System box log", "Logged only.", Icon::Warning);
    EXPECT_TRUE(call.returned()) << "with RELAY_MESSAGE_BOX=log the notice must not wait for a click";
    EXPECT_TRUE(log.contains("System box log: Logged only."));
}

TEST(X11MessageBox, WithoutADisplayTheNoticeIsLoggedAndTheCallReturns)
{
    const ScopedVariable dialogs(Platform::Posix::X11MessageBox::ModeVariable, nullptr);
    const ScopedVariable noDisplay("DISPLAY", nullptr);
    Util::Log::Capture log;
    Platform::Posix::X11MessageBox box{UI::MessageBoxFace::maker()};
    ShowCall call(box, "Application Not Found", "No screen here.", Icon::Error);
    EXPECT_TRUE(call.returned());
    EXPECT_EQ(log.messages(), std::vector<std::string>{"Application Not Found: No screen here."});
}
