#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "support/TestEnvironment.h"
#include "ui/PluginEditorWindow.h"
#include "ui/PulseOverlayTimer.h"
#include "ui/RadudarLabel.h"

#include <thread>

namespace {

// Counts what the framework asks of a main window.
class ProbeWindow : public UI::MainPluginWindow {
public:
    static inline int made = 0;
    static inline int built = 0;
    static inline int saved = 0;
    static inline std::vector<int> runStates;

    ProbeWindow() { ++made; }
    void runStateChanged(bool a, bool fromUserInterface, bool bWasZero) override
    {
        runStates.push_back(int(a) | int(fromUserInterface) << 1 | int(bWasZero) << 2);
    }
    UI::Radudar::Label* label = nullptr;

protected:
    void buildChildren() override
    {
        ++built;
        label = &UI::Window::create<UI::Radudar::Label>(canvas(), "Probe Label", "before");
        label->setFrame(100, 100, 80, 20);
    }
    void saveWindowState() override { ++saved; }
};

} // namespace

TEST(EditorWindow, EveryOpenBuildsAFreshWindowOnceAndCloseSavesItsState)
{
    ProbeWindow::made = ProbeWindow::built = ProbeWindow::saved = 0;
    auto editor = UI::createPluginEditor([] { return std::make_unique<ProbeWindow>(); });
    ASSERT_TRUE(editor->open({}));
    EXPECT_EQ(editor->windowHandle(), 0u) << "off screen";
    auto* window = static_cast<ProbeWindow*>(static_cast<UI::PluginEditorWindow&>(*editor).window());
    ASSERT_TRUE(window->open(0)) << "opening again does not build again";
    EXPECT_EQ(ProbeWindow::built, 1);
    editor->close();
    EXPECT_EQ(ProbeWindow::saved, 1);
    editor->close();
    EXPECT_EQ(ProbeWindow::saved, 1);
    ASSERT_TRUE(editor->open({}));
    EXPECT_EQ(ProbeWindow::made, 2);
    EXPECT_EQ(ProbeWindow::built, 2);
}

TEST(EditorWindow, IdleRunsTimersAndDrawsOnlyWhatChanged)
{
    Platform::FakeClock clock(1000);
    auto editor = UI::createPluginEditor([] { return std::make_unique<ProbeWindow>(); });
    ASSERT_TRUE(editor->open({}));
    auto* window = static_cast<ProbeWindow*>(static_cast<UI::PluginEditorWindow&>(*editor).window());
    UI::Native::HostWindow& host = window->hostWindow();
    const UI::Color before = host.image().pixel(110, 110);
    window->label->setText("after");
    EXPECT_FALSE(window->canvas().dirtyArea().empty());
    EXPECT_EQ(editor->idle(), 0u);
    EXPECT_TRUE(window->canvas().dirtyArea().empty());
    EXPECT_NE(host.image().pixel(110, 110), before);
    EXPECT_TRUE(host.update().empty());

    int pulses = 0;
    Trackable owner;
    owner.connect(window->pulseOverlayTimer().pulsed, [&](float phase) {
        EXPECT_GE(phase, 0.0f);
        EXPECT_LT(phase, 1.0f);
        ++pulses;
    });
    clock.advance(40);
    editor->idle();
    clock.advance(39);
    editor->idle();
    EXPECT_EQ(pulses, 1);
}

TEST(EditorWindow, ARunStateChangeFromAnotherThreadReachesTheWindowAtIdle)
{
    ProbeWindow::runStates.clear();
    auto editor = UI::createPluginEditor([] { return std::make_unique<ProbeWindow>(); });
    ASSERT_TRUE(editor->open({}));
    std::thread audio([&] { editor->runStateChanged(true, false, true); });
    audio.join();
    EXPECT_TRUE(ProbeWindow::runStates.empty()) << "nothing touches the window off its thread";
    editor->idle();
    EXPECT_EQ(ProbeWindow::runStates, std::vector<int>{5});
    editor->idle();
    EXPECT_EQ(ProbeWindow::runStates.size(), 1u);
}

TEST(EditorWindow, ImagesKeepTheirColoursThroughPng)
{
    UI::Image image(3, 1);
    const UI::Color colours[] = {UI::Color::rgb(0x3a8fd6), UI::Color::rgb(0x808a84, 128), UI::Color::rgb(0xffffff, 0)};
    for (int x = 0; x < 3; ++x) {
        UI::Image one(1, 1, colours[x]);
        std::copy_n(one.data(), 4, image.data() + 4 * x);
    }
    const std::string path = TestSupport::makeTempFolder("png") + "/three.png";
    ASSERT_TRUE(image.savePng(path));
    const auto back = UI::Image::loadPng(path);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width(), 3);
    EXPECT_EQ(back->pixel(0, 0), colours[0]);
    const UI::Color half = back->pixel(1, 0);
    EXPECT_EQ(half.a, 128);
    EXPECT_NEAR(half.r, 0x80, 1);
    EXPECT_NEAR(half.g, 0x8a, 1);
    EXPECT_NEAR(half.b, 0x84, 1);
    EXPECT_EQ(back->pixel(2, 0).a, 0);
    EXPECT_FALSE(UI::Image::decodePng(std::vector<uint8_t>{0x89, 'P', 'N', 'G'}));
}
