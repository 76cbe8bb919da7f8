#include <gtest/gtest.h>

#include "support/FakeClock.h"
#include "ui/Canvas.h"
#include "ui/MultiText.h"
#include "ui/PropertyTypes.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarScrollBar.h"
#include "ui/RadudarTooltipWindow.h"
#include "ui/ScrollView.h"
#include "platform/SimpleTimer.h"
#include "util/Log.h"

#include <memory>

namespace {

struct Receiver : Trackable {
    int calls = 0;
};

UI::InputEvent at(UI::InputKind kind, int x, int y) { return {kind, {x, y}}; }

} // namespace

TEST(WindowTree, FramesHaveInclusiveEdgesRelativeToTheParent)
{
    UI::Canvas canvas(470, 276);
    auto& parent = UI::Window::create<UI::Window>(canvas, "Parent");
    parent.setFrame(10, 20, 30, 40);
    EXPECT_EQ(parent.frame(), (UI::Rect{10, 20, 39, 59}));
    EXPECT_EQ(parent.width(), 30);
    EXPECT_EQ(parent.height(), 40);
    auto& child = UI::Window::create<UI::Window>(parent, "Child");
    child.setFrame(1, 2, 1, 1);
    EXPECT_EQ(child.canvasFrame(), (UI::Rect{11, 22, 11, 22}));
    EXPECT_EQ(child.toLocal({11, 22}), (UI::Point{0, 0}));
    EXPECT_EQ(&child.canvas(), &canvas);
}

TEST(WindowTree, NamesAreFoundAmongDirectChildrenOrAcrossTheCanvasInCreationOrder)
{
    UI::Canvas canvas(470, 276);
    auto& panel = UI::Window::create<UI::Window>(canvas, "Panel");
    auto& deep = UI::Window::create<UI::Window>(panel, "Twin");
    auto& shallow = UI::Window::create<UI::Window>(canvas, "Twin");
    auto& second = UI::Window::create<UI::Window>(canvas, "Twin");
    EXPECT_EQ(canvas.findChild("Twin"), &shallow);
    EXPECT_EQ(panel.findChild("Twin"), &deep);
    EXPECT_EQ(canvas.findWindow("Twin"), &deep);
    EXPECT_EQ(canvas.findChild("twin"), nullptr);
    EXPECT_EQ(canvas.findWindow("Nobody"), nullptr);
    // Gone windows are no longer found.
    canvas.release(shallow).reset();
    EXPECT_EQ(canvas.findChild("Twin"), &second);
    panel.release(deep).reset();
    EXPECT_EQ(canvas.findWindow("Twin"), &second);
}

TEST(WindowTree, HiddenWindowsAreNeitherHitNorDrawn)
{
    UI::Canvas canvas(100, 100);
    auto& button = UI::Window::create<UI::Radudar::MouseOverButton>(canvas, "Button");
    button.setFrame(10, 10, 20, 20);
    EXPECT_EQ(canvas.tree().targetAt({15, 15}), &button);
    button.hide();
    EXPECT_EQ(canvas.tree().targetAt({15, 15}), nullptr);
    button.show();
    auto& holder = UI::Window::create<UI::Window>(canvas, "Holder");
    holder.setFrame(0, 0, 100, 100);
    auto& inner = UI::Window::create<UI::Radudar::MouseOverButton>(holder, "Inner");
    inner.setFrame(50, 50, 10, 10);
    holder.hide();
    EXPECT_FALSE(inner.isShowing());
    EXPECT_EQ(canvas.tree().targetAt({55, 55}), nullptr);
    EXPECT_EQ(canvas.tree().targetAt({15, 15}), &button);

    UI::Image image(100, 100);
    canvas.renderAll(image);
    const UI::Color background = image.pixel(55, 55);
    holder.show();
    EXPECT_EQ(canvas.redraw(image), canvas.bounds());
    EXPECT_NE(image.pixel(55, 55), background) << "the inner button draws once its parent shows";
}

TEST(WindowTree, SlotsAreDroppedWhenTheirOwnerDies)
{
    UI::Canvas canvas(100, 100);
    auto& button = UI::Window::create<UI::Radudar::MouseOverButton>(canvas, "Button");
    button.setFrame(0, 0, 10, 10);
    auto receiver = std::make_unique<Receiver>();
    receiver->connect(button.clicked, [r = receiver.get()] { ++r->calls; });
    button.clicked();
    EXPECT_EQ(receiver->calls, 1);
    receiver.reset();
    EXPECT_EQ(button.clicked.num_slots(), 0u);
    button.clicked(); // must not reach the dead receiver

    // A window is itself a Trackable: its slots go with it.
    int calls = 0;
    auto& listener = UI::Window::create<UI::Window>(canvas, "Listener");
    listener.connect(button.clicked, [&] { ++calls; });
    canvas.release(listener).reset();
    button.clicked();
    EXPECT_EQ(calls, 0);
}

TEST(WindowTree, TimersFireOnTheirIntervalWhileTheyLive)
{
    Platform::FakeClock clock(1000);
    UI::TimerQueue queue;
    int ticks = 0;
    auto timer = std::make_unique<UI::SimpleTimer>(queue, 100, [&] { ++ticks; });
    clock.advance(99);
    EXPECT_EQ(queue.runDue(), 0);
    clock.advance(1);
    EXPECT_EQ(queue.runDue(), 1);
    EXPECT_EQ(queue.runDue(), 0) << "once per interval";
    clock.advance(1000);
    EXPECT_EQ(queue.runDue(), 1) << "a late run fires once, not ten times";
    EXPECT_EQ(ticks, 2);

    // A timer destroyed by another's callback does not fire in the same run.
    std::unique_ptr<UI::SimpleTimer> victim;
    int victimTicks = 0;
    auto killer = std::make_unique<UI::SimpleTimer>(queue, 10, [&] { victim.reset(); });
    victim = std::make_unique<UI::SimpleTimer>(queue, 10, [&] { ++victimTicks; });
    clock.advance(100);
    EXPECT_EQ(queue.runDue(), 2) << "the first timer and the killer";
    EXPECT_EQ(victimTicks, 0);
    timer.reset();
    killer.reset();
    EXPECT_EQ(queue.size(), 0u);
    clock.advance(100);
    EXPECT_EQ(queue.runDue(), 0);
    EXPECT_EQ(ticks, 3);

    // Wrapping of the 32-bit tick does not stop a timer.
    clock.set(0xFFFFFFF0u);
    UI::SimpleTimer wrapping(queue, 0x20, [&] { ++ticks; });
    clock.set(0x10);
    EXPECT_EQ(queue.runDue(), 1);
}

TEST(WindowTree, TheTooltipShowsAfterTheDelayOverItsWindow)
{
    Platform::FakeClock clock(5000);
    UI::Canvas canvas(200, 100);
    auto& tooltip = canvas.tooltipWindow(600);
    auto& button = UI::Window::create<UI::Radudar::MouseOverButton>(canvas, "Button");
    button.setFrame(10, 10, 30, 20);
    button.setTooltip("Discard the audio clip(s) that have been sent to TW for repair");
    auto& plain = UI::Window::create<UI::Window>(canvas, "Plain");
    plain.setFrame(100, 10, 30, 20);

    canvas.tree().dispatch(at(UI::InputKind::Move, 20, 20));
    clock.advance(599);
    canvas.timers().runDue();
    EXPECT_TRUE(tooltip.isHidden());
    clock.advance(1);
    canvas.timers().runDue();
    EXPECT_FALSE(tooltip.isHidden());
    EXPECT_EQ(tooltip.text(), "Discard the audio clip(s) that have been sent to TW for repair");
    EXPECT_EQ(canvas.children().back().get(), &tooltip) << "drawn above everything";
    EXPECT_EQ(canvas.tree().targetAt({tooltip.frame().left + 1, tooltip.frame().top + 1}) == &tooltip, false);

    // Moving within the window keeps it; moving to a window without one hides it.
    canvas.tree().dispatch(at(UI::InputKind::Move, 22, 21));
    EXPECT_FALSE(tooltip.isHidden());
    canvas.tree().dispatch(at(UI::InputKind::Move, 110, 20));
    EXPECT_TRUE(tooltip.isHidden());
    clock.advance(5000);
    canvas.timers().runDue();
    EXPECT_TRUE(tooltip.isHidden());

    // A press dismisses it until the pointer rests over another window.
    canvas.tree().dispatch(at(UI::InputKind::Move, 20, 20));
    clock.advance(600);
    canvas.timers().runDue();
    ASSERT_FALSE(tooltip.isHidden());
    canvas.tree().dispatch(at(UI::InputKind::Down, 20, 20));
    canvas.tree().dispatch(at(UI::InputKind::Up, 20, 20));
    clock.advance(600);
    canvas.timers().runDue();
    EXPECT_TRUE(tooltip.isHidden());
}

TEST(WindowTree, TheScrollViewStacksRowsAndScrollsByItsStep)
{
    UI::Canvas canvas(470, 276);
    auto& bar = UI::Window::create<UI::Radudar::ScrollBar>(canvas, "Scroll Bar");
    auto& view = UI::Window::create<UI::ScrollView>(canvas, "Clip ScrollView", &bar);
    view.setFrame(21, 66, 428, 90);
    view.setScrollStep(20);
    std::vector<UI::Window*> rows;
    for (int n = 1; n <= 4; ++n) {
        auto& row = UI::Window::create<UI::Window>(view, Util::format("Thumbnail %1", n));
        row.setFrame(0, 0, 100, 35);
        row.hide();
        rows.push_back(&row);
    }
    view.append(*rows[0]);
    view.append(*rows[1]);
    EXPECT_EQ(rows[1]->frame(), UI::Rect::fromSize(0, 35, 428, 35));
    EXPECT_TRUE(bar.isHidden()) << "70 pixels fit in 90";
    EXPECT_FALSE(view.wheel({UI::InputKind::Wheel, {}, 0, -120}));

    view.append(*rows[2]);
    EXPECT_FALSE(bar.isHidden());
    EXPECT_EQ(bar.frame().left, view.frame().right + 3);
    EXPECT_TRUE(canvas.tree().dispatch({UI::InputKind::Wheel, {50, 100}, 0, -120}));
    EXPECT_EQ(view.offset(), 15) << "one step of 20, held at the end (105 - 90)";
    EXPECT_EQ(rows[0]->frame().top, -15);
    EXPECT_EQ(bar.offset(), 15);
    view.scrollTo(0);

    view.clear();
    EXPECT_TRUE(view.rows().empty());
    for (auto* row : rows)
        EXPECT_TRUE(row->isHidden());
    EXPECT_TRUE(bar.isHidden());
}

TEST(WindowTree, MultiTextBreaksAtLineFeedsAndWrapsWords)
{
    const UI::Font font{11.0, false};
    const double width = UI::DrawContext::textWidth("Select REFERENCE or", font) + 1;
    const auto lines = UI::MultiText::wrap("Select REFERENCE or REPAIR then\npress Preview", font, width, true);
    EXPECT_EQ(lines, (std::vector<Util::String>{"Select REFERENCE or", "REPAIR then", "press Preview"}));
    EXPECT_EQ(UI::MultiText::wrap("a b\n\nc", font, 1000, false), (std::vector<Util::String>{"a b", "", "c"}));
    EXPECT_EQ(UI::MultiText::wrap("Unbreakable", font, 5, true), std::vector<Util::String>{"Unbreakable"});
}

TEST(WindowTree, StyleSheetDefaultsApplyByClassAndMismatchesAreReported)
{
    UI::StyleSheet sheet;
    ASSERT_TRUE(sheet.parse(R"({"Classes": [
        {"ClassName": "RadudarLabel", "Properties": [
            {"PropertyName": "Font Size", "PropertyType": "Float", "Value": 14},
            {"PropertyName": "Bold", "PropertyType": "String", "Value": "yes"},
            {"PropertyName": null, "PropertyType": "Bool", "Value": true},
            {"PropertyName": "Text Color", "PropertyType": "Checked Color", "Value": "808a84"}]},
        {"ClassName": null, "Properties": [{"PropertyName": "Text", "PropertyType": "String", "Value": "x"}]}]})",
                            "test"));
    EXPECT_EQ(sheet.size(), 3u);
    Util::Log::Capture log;
    EXPECT_EQ(sheet.classDefault("RadudarLabel", "Font Size", "Float"), Util::PropertyValue(14.0f));
    EXPECT_EQ(sheet.classDefault("RadudarLabel", "Text Color", "Checked Color"),
              Util::PropertyValue(Util::Checked<UI::Color>{true, UI::Color::rgb(0x808a84)}));
    EXPECT_FALSE(sheet.classDefault("RadudarLabel", "Bold", "Bool"));
    EXPECT_FALSE(sheet.classDefault("RadudarLabel", "Bold", "Bool"));
    EXPECT_FALSE(sheet.classDefault("MultiText", "Font Size", "Float"));
    EXPECT_EQ(log.messages(), std::vector<Util::String>{"For property Bold style sheet has type String but your type is Bool"});

    // The product's own sheet gives labels their size and reads cleanly.
    UI::Canvas canvas(100, 100);
    auto& label = UI::Window::create<UI::Radudar::Label>(canvas, "Label");
    EXPECT_EQ(*label.propertyText("Font Size"), "10");
    EXPECT_EQ(canvas.palette().color("LabelBrightTextColor"), UI::Color::rgb(0xe3e7ea));
    EXPECT_EQ(log.messages().size(), 1u);
}

TEST(WindowTree, PropertyValuesKeepTheirTextForms)
{
    UI::Canvas canvas(10, 10); // registers the window set's enumerations
    const auto& types = Util::PropertyTypes::instance();
    struct Case {
        const char* type;
        const char* text;
        const char* formatted; // nullptr: the text is refused
    };
    const Case cases[] = {
        {"String", " as is ", " as is "},      {"Bool", "true", "true"},       {"Bool", "0", "false"},
        {"Bool", "yes", nullptr},              {"Int", "-42", "-42"},          {"Int", "4x", nullptr},
        {"UInt", "7", "7"},                    {"UInt", "-7", nullptr},        {"Float", "2.5", "2.5"},
        {"Color", "808A84", "808a84"},         {"Color", "80808", nullptr},    {"Color", "11223344", "11223344"},
        {"Image", "png/a.png", "png/a.png"},   {"Point", "3,-4", "3,-4"},      {"Point", "3", nullptr},
        {"KeyPath", "a.b.c", "a.b.c"},         {"FilePaths", "/a;/b c", "/a;/b c"},
        {"Float Range", "0,1.5", "0,1.5"},     {"UInt Range", "1,2", "1,2"},   {"Checked UInt", "none", "none"},
        {"Checked UInt", "5", "5"},            {"Checked Float", "-1.5", "-1.5"},
        {"Checked Color", "808a84", "808a84"}, {"Checked Point", "1,2", "1,2"}, {"Checked Rect", "1,2,3,4", "1,2,3,4"},
        {"LabelStyle", "Bright", "Bright"},    {"LabelStyle", "bright", nullptr},
        {"MouseOverButtonStyle", "ShuttleTrash", "ShuttleTrash"},               {"Widget", "x", nullptr},
    };
    for (const auto& c : cases) {
        const auto value = types.parse(c.type, c.text);
        ASSERT_EQ(value.has_value(), c.formatted != nullptr) << c.type << " " << c.text;
        if (value) {
            EXPECT_EQ(types.format(c.type, *value), c.formatted) << c.type << " " << c.text;
        }
    }
}

TEST(WindowTree, TheWindowMakerKnowsTheSetInItsOrderAndKeepsTheFirstRegistration)
{
    UI::Canvas canvas(100, 100);
    const std::vector<Util::String> expected = {
        "Radudar BackgroundTexture", "Radudar Box", "Radudar CheckBox", "Radudar Group CheckBox", "Radudar ComboBox",
        "Radudar ControlBackground", "Radudar DialogButtonGroup", "Radudar EditBox", "Radudar ExportFormatOnOffButton",
        "Radudar GradientBackground", "Radudar GradientOnOffButton", "Radudar Label", "Radudar LinkButton",
        "Radudar ListBox", "Radudar MouseOverButton", "Radudar MultiText", "Radudar MouseOverOnOffButton",
        "Radudar OnOffPushButton", "Radudar PopoverBackground", "Radudar ProgressBar", "Radudar PushButton",
        "Radudar RadioButton", "Radudar SearchEditBox", "Radudar SimpleOverlay", "Radudar Slider", "Radudar SnapSlider",
        "Radudar SliderGroup", "Radudar SmallOnOffButton", "Radudar SmallPushButton", "Radudar Tab", "Radudar TabView",
        "Radudar XYMeterBackground", "Window", "Window Stack", "Rududir Scrub Text", "Radudar MoreOnOffButton"};
    EXPECT_EQ(canvas.maker().typeNames(), expected);
    for (const auto& type : expected) {
        UI::Window* made = canvas.maker().create(type, canvas, nullptr, "Made " + type);
        ASSERT_NE(made, nullptr) << type;
        EXPECT_EQ(made->parent(), &canvas);
    }
    EXPECT_FALSE(canvas.maker().registerType("Radudar Label", [](UI::Canvas&, UI::Window& p, const Util::String& n) -> UI::Window& {
        return UI::Window::create<UI::Window>(p, n);
    }));
    EXPECT_NE(dynamic_cast<UI::Radudar::Label*>(canvas.maker().create("Radudar Label", canvas, nullptr, "L")), nullptr);
    EXPECT_EQ(canvas.maker().create("Radudar Unknown", canvas, nullptr, "U"), nullptr);
}
