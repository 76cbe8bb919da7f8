#include <gtest/gtest.h>

#include "core/ConsoleCommandManager.h"
#include "platform/NativeWindow.h"
#include "support/TestDisplay.h"
#include "ui/CommandPrompt.h"
#include "ui/MainPluginWindow.h"
#include "ui/Window.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using UI::InputKind;

// A control under the console's square, counting the presses that reach it.
struct PressCounter final : UI::Window {
    using Window::Window;
    int presses = 0;
    bool wantsPointer() const override { return true; }
    void pointerDown(const UI::InputEvent&) override { ++presses; }
};

struct PromptWindow final : UI::MainPluginWindow {
    PressCounter* control = nullptr;
    void buildChildren() override
    {
        control = &UI::Window::create<PressCounter>(canvas(), "Control");
        control->setFrame(0, 0, 60, 60);
    }
};

struct Recorder final : ConsoleCommand::Delegate {
    std::vector<std::string> lines;
    void consoleCommand(const Util::String& line) override { lines.push_back(line); }
};

struct PromptFixture {
    PromptFixture()
    {
        console.add({"echo", "Echoes.", {}}, echo);
        window.setConsole(&console);
    }
    bool promptShowing() const { return window.prompt() && window.prompt()->isShowing(); }

    ConsoleCommand::Manager console;
    Recorder echo;
    PromptWindow window;
};

constexpr uint32_t Both = UI::MainPluginWindow::ConsoleModifiers;

// Presses handed in by the wrapper (selector 29 events): which open the prompt.
TEST(ConsolePromptInput, OnlyALeftPressWithBothModifiersInTheSquareOpensThePrompt)
{
    const struct {
        InputKind kind;
        int x, y;
        uint32_t modifiers;
        bool opens;
    } cases[] = {
        {InputKind::Down, 5, 5, Both, true},
        {InputKind::DoubleDown, 20, 20, Both, true},
        {InputKind::Down, 0, 0, Both | UI::ShiftModifier, true},
        {InputKind::Down, 21, 5, Both, false},
        {InputKind::Down, 5, 21, Both, false},
        {InputKind::Down, 5, 5, UI::MetaModifier, false},
        {InputKind::Down, 5, 5, UI::AltGraphModifier, false},
        {InputKind::Down, 5, 5, UI::ControlModifier | UI::AltModifier, false},
        {InputKind::RightDown, 5, 5, Both, false},
    };
    for (const auto& c : cases) {
        PromptFixture f;
        ASSERT_TRUE(f.window.open(0));
        const int before = f.window.control->presses;
        f.window.input({c.kind, {c.x, c.y}, c.modifiers, 0});
        const std::string label = ::testing::PrintToString(int(c.kind)) + " at " + std::to_string(c.x) + "," +
                                  std::to_string(c.y) + " with " + std::to_string(c.modifiers);
        EXPECT_EQ(f.promptShowing(), c.opens) << label;
        // A right press never reaches the counter, which counts left presses.
        if (c.kind != InputKind::RightDown) {
            EXPECT_EQ(f.window.control->presses - before, c.opens ? 0 : 1) << label;
        }
    }
}

TEST(ConsolePromptInput, WithoutAConsoleThePressReachesTheControl)
{
    PromptWindow window;
    ASSERT_TRUE(window.open(0));
    window.input({InputKind::Down, {5, 5}, Both, 0});
    EXPECT_EQ(window.control->presses, 1);
    EXPECT_EQ(window.prompt(), nullptr);
}

// The same through real input: xdotool drives the X server's test extension
// (no --window for keys and buttons), so the events take the path of a real
// keyboard and mouse: the pointer's position picks the window, and the
// server's modifier map turns Super and AltGr into the state's Mod4 and Mod5.
struct ConsolePromptOnScreen : ::testing::Test, PromptFixture {
    void SetUp() override
    {
        if (!TestSupport::TestDisplay::readyForWindows())
            return;
        host = Platform::DesktopWindow::create(470, 276, "console prompt host");
        ASSERT_NE(host, nullptr);
        ASSERT_TRUE(window.open(host->handle()));
        child = window.windowHandle();
        ASSERT_NE(child, 0u);
        host->sync();
    }

    // Idles the window until `done` holds (bounded for a loaded machine).
    bool idleUntil(const std::function<bool()>& done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < until) {
            host->sync();
            window.idle();
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    static bool xdotool(const std::string& arguments)
    {
        return std::system(("timeout 60 xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
    }

    // The keys a user holds for the modifier bits, as xdotool names them.
    static std::string modifierKeys(uint32_t modifiers)
    {
        const std::pair<uint32_t, const char*> keys[] = {{UI::ShiftModifier, "Shift_L"},
                                                         {UI::ControlModifier, "Control_L"},
                                                         {UI::AltModifier, "Alt_L"},
                                                         {UI::MetaModifier, "Super_L"},
                                                         {UI::AltGraphModifier, "ISO_Level3_Shift"}};
        std::string names;
        for (const auto& [bit, name] : keys)
            if (modifiers & bit)
                names += (names.empty() ? "" : "+") + std::string(name);
        return names;
    }

    // Moves the pointer to (x, y) in the plug-in's window and clicks the left
    // button with the modifiers' keys held.
    void press(int x, int y, uint32_t modifiers)
    {
        const std::string keys = modifierKeys(modifiers);
        std::string arguments = "mousemove --window " + std::to_string(child) + " " + std::to_string(x) + " " +
                                std::to_string(y);
        arguments += keys.empty() ? " click 1" : " keydown " + keys + " click 1 keyup " + keys;
        ASSERT_TRUE(xdotool(arguments)) << arguments;
    }

    // Types keys (keysym names) into the window under the pointer.
    void type(const std::vector<std::string>& keys)
    {
        std::string arguments = "key";
        for (const auto& key : keys)
            arguments += " " + key;
        ASSERT_TRUE(xdotool(arguments)) << arguments;
    }

    std::unique_ptr<Platform::DesktopWindow> host;
    uint64_t child = 0;
};

TEST_F(ConsolePromptOnScreen, TheModifiedPressOpensThePromptReturnRunsTheLineEscapeClosesIt)
{
    if (!host)
        return;
    press(5, 5, Both);
    ASSERT_TRUE(idleUntil([&] { return promptShowing(); }));
    EXPECT_EQ(window.control->presses, 0);

    type({"e", "c", "h", "o", "space", "h", "i", "Return"});
    ASSERT_TRUE(idleUntil([&] { return !echo.lines.empty(); }));
    EXPECT_EQ(echo.lines, (std::vector<std::string>{"echo hi"}));
    EXPECT_FALSE(promptShowing());

    press(12, 3, Both);
    ASSERT_TRUE(idleUntil([&] { return promptShowing(); }));
    type({"e", "c", "h", "o", "Escape"});
    ASSERT_TRUE(idleUntil([&] { return !promptShowing(); }));
    EXPECT_EQ(echo.lines.size(), 1u);
    EXPECT_EQ(window.control->presses, 0);
}

TEST_F(ConsolePromptOnScreen, OutsideTheSquareOrWithoutBothModifiersTheControlGetsThePress)
{
    if (!host)
        return;
    const struct {
        int x, y;
        uint32_t modifiers;
    } cases[] = {{40, 40, Both}, {5, 5, UI::MetaModifier}, {5, 5, UI::AltGraphModifier}, {5, 5, 0}};
    int expected = 0;
    for (const auto& c : cases) {
        press(c.x, c.y, c.modifiers);
        ++expected;
        ASSERT_TRUE(idleUntil([&] { return window.control->presses == expected; }))
            << c.x << "," << c.y << " with " << c.modifiers;
        EXPECT_FALSE(promptShowing());
    }
}

} // namespace
