#include <gtest/gtest.h>

#include "MainWindowStandIn.h"
#include "ui/PluginEditorWindow.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"

namespace {

// The wrapper's word for each pointer event kind (see UI::InputKind).
constexpr uint32_t move = 0, down = 2, up = 3;

struct Counter : Trackable {
    int clicks = 0;
};

struct ClickFixture : ::testing::Test {
    ClickFixture()
    {
        editor = UI::createPluginEditor([] { return std::make_unique<TestSupport::MainWindowStandIn>(); });
        EXPECT_TRUE(editor->open({}));
        window = static_cast<UI::PluginEditorWindow&>(*editor).window();
        discard = dynamic_cast<UI::Radudar::MouseOverButton*>(window->canvas().findChild("Discard Button"));
        reference = dynamic_cast<UI::Radudar::MouseOverOnOffButton*>(window->canvas().findChild("Reference On Off Button"));
        counter.connect(discard->clicked, [this] { ++counter.clicks; });
        counter.connect(reference->clicked, [this] { ++counter.clicks; });
    }

    UI::Point centre(const UI::Window& w) const
    {
        const UI::Rect r = w.canvasFrame();
        return {r.left + r.width() / 2, r.top + r.height() / 2};
    }
    // Selector 29's form: kind, x, y, modifiers, flag.
    uint32_t form1(uint32_t kind, UI::Point p) { return editor->inputEvent(kind, uint32_t(p.x), uint32_t(p.y), 0, 0); }

    std::unique_ptr<PluginEditor> editor;
    UI::MainPluginWindow* window = nullptr;
    UI::Radudar::MouseOverButton* discard = nullptr;
    UI::Radudar::MouseOverOnOffButton* reference = nullptr;
    Counter counter;
};

} // namespace

TEST_F(ClickFixture, AClickThroughTheFirstFormEmitsClickedOnce)
{
    const UI::Point p = centre(*discard);
    EXPECT_EQ(form1(move, p), 1u);
    EXPECT_EQ(discard->currentImageName(), "png/ShuttleTrashMouseOverNormal.png");
    EXPECT_EQ(form1(down, p), 1u);
    EXPECT_EQ(discard->currentImageName(), "png/ShuttleTrashPressed.png");
    EXPECT_EQ(counter.clicks, 0) << "a press alone is no click";
    EXPECT_EQ(form1(up, p), 1u);
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(discard->currentImageName(), "png/ShuttleTrashMouseOverNormal.png");
}

TEST_F(ClickFixture, AClickThroughTheSecondFormAtTheCurrentPointEmitsClickedOnce)
{
    const UI::Point p = centre(*reference);
    EXPECT_EQ(editor->inputEventWithPoint(move, uint32_t(p.x), uint32_t(p.y), 0, 0, false), 1u);
    // Press and release where the pointer is: the words for x and y are ignored.
    EXPECT_EQ(editor->inputEventWithPoint(down, 9999, 9999, 0, 0, true), 1u);
    EXPECT_EQ(reference->currentImageName(), "png/buttonOneWayOffClick.png");
    EXPECT_EQ(editor->inputEventWithPoint(up, 9999, 9999, 0, 0, true), 1u);
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_FALSE(reference->isOn()) << "the owner decides the on state";
}

TEST_F(ClickFixture, OnlyAPressAndReleaseOnTheSameEnabledButtonClicks)
{
    const UI::Point on = centre(*discard);
    const UI::Point off{2, 270};
    struct Case {
        const char* what;
        UI::Point press, release;
        bool enabled;
        int clicks;
    };
    const Case cases[] = {
        {"released outside", on, off, true, 0},
        {"pressed outside", off, on, true, 0},
        {"disabled", on, on, false, 0},
        {"enabled again", on, on, true, 1},
    };
    for (const auto& c : cases) {
        counter.clicks = 0;
        discard->enable(c.enabled);
        form1(move, c.press);
        form1(down, c.press);
        form1(move, c.release);
        form1(up, c.release);
        EXPECT_EQ(counter.clicks, c.clicks) << c.what;
    }
    discard->enable(false);
    EXPECT_EQ(discard->currentImageName(), "png/ShuttleTrashNormal.png");
}

TEST_F(ClickFixture, UnknownEventsAndAClosedEditorAnswerZero)
{
    EXPECT_EQ(editor->inputEvent(99, 10, 10, 0, 0), 0u);
    EXPECT_EQ(editor->inputEventWithPoint(99, 10, 10, 0, 0, false), 0u);
    EXPECT_EQ(form1(down, {5, 270}), 0u) << "no window there takes the pointer";
    editor->close();
    EXPECT_EQ(editor->inputEvent(down, 10, 10, 0, 0), 0u);
    EXPECT_EQ(editor->idle(), 1u);
    EXPECT_EQ(editor->windowHandle(), 0u);
    EXPECT_TRUE(editor->hitTest(10, 10).empty());
}

TEST_F(ClickFixture, TheHostHitTestNamesTheParametersUnderThePoint)
{
    discard->setParameterIndex(7);
    const UI::Point p = centre(*discard);
    EXPECT_EQ(editor->hitTest(uint32_t(p.x), uint32_t(p.y)), std::vector<uint32_t>{7});
    EXPECT_TRUE(editor->hitTest(2, 270).empty());
}
