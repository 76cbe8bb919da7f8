#include <gtest/gtest.h>

#include "ui/Canvas.h"
#include "ui/RadudarCheckBox.h"
#include "ui/RadudarComboBox.h"
#include "ui/RadudarContextMenu.h"
#include "ui/RadudarEditBox.h"
#include "ui/RadudarSlider.h"
#include "ui/RadudarToggleButton.h"
#include "ui/WindowStack.h"

namespace {

void click(UI::Canvas& canvas, UI::Point p, UI::InputKind press = UI::InputKind::Down)
{
    canvas.tree().dispatch({UI::InputKind::Move, p});
    canvas.tree().dispatch({press, p});
    canvas.tree().dispatch({press == UI::InputKind::Down ? UI::InputKind::Up : UI::InputKind::RightUp, p});
}

UI::Point centre(const UI::Window& w)
{
    const UI::Rect r = w.canvasFrame();
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

} // namespace

TEST(WidgetBehaviour, AnEditBoxTakesTheKeysOnceItHasTheFocus)
{
    UI::Canvas canvas(200, 100);
    auto& box = UI::Window::create<UI::Radudar::EditBox>(canvas, "Name");
    box.setFrame(10, 10, 120, 20);
    const UI::KeyEvent typed{UI::KeyEvent::Text, "x", 0};
    EXPECT_FALSE(canvas.tree().dispatchKey(typed)) << "no focus yet";
    click(canvas, centre(box));
    ASSERT_TRUE(box.hasFocus());

    using K = UI::KeyEvent;
    const std::pair<K, const char*> keys[] = {
        {{K::Text, "Tak", 0}, "Tak"},     {{K::Text, "é", 0}, "Také"},   {{K::Backspace, "", 0}, "Tak"},
        {{K::Home, "", 0}, "Tak"},        {{K::Delete, "", 0}, "ak"},    {{K::Text, "T", 0}, "Tak"},
        {{K::End, "", 0}, "Tak"},         {{K::Text, "e 3", 0}, "Take 3"}, {{K::Left, "", 0}, "Take 3"},
        {{K::Backspace, "", 0}, "Take3"},
    };
    for (const auto& [key, expected] : keys) {
        EXPECT_TRUE(canvas.tree().dispatchKey(key));
        EXPECT_EQ(box.text(), expected);
    }
    Util::String committed;
    Trackable owner;
    owner.connect(box.committed, [&](const Util::String& t) { committed = t; });
    canvas.tree().dispatchKey({K::Return, "", 0});
    EXPECT_EQ(committed, "Take3");
    click(canvas, {190, 90});
    EXPECT_FALSE(box.hasFocus());
}

TEST(WidgetBehaviour, TheContextMenuSendsItsCommandToTheRegisteredHandler)
{
    UI::Canvas canvas(300, 200);
    auto& menu = UI::Window::create<UI::Radudar::ContextMenu>(canvas, "Menu");
    canvas.attachContextMenu(&menu);
    menu.addCommandItem("Post", "Post Event");
    menu.addItem("Local", [] {});
    auto owner = std::make_unique<Trackable>();
    std::vector<Util::String> invoked;
    canvas.commands().registerHandler("Post Event", *owner, [&](const Command::CommandInvocation& c) {
        invoked.push_back(c.name());
        return true;
    });

    click(canvas, {40, 40}, UI::InputKind::RightDown);
    ASSERT_FALSE(menu.isHidden());
    EXPECT_EQ(canvas.children().back().get(), &menu);
    click(canvas, {menu.frame().left + 20, menu.frame().top + 12});
    EXPECT_TRUE(menu.isHidden());
    EXPECT_EQ(invoked, std::vector<Util::String>{"Post Event"});

    // A press outside an open menu only closes it.
    click(canvas, {40, 40}, UI::InputKind::RightDown);
    click(canvas, {290, 190});
    EXPECT_TRUE(menu.isHidden());
    EXPECT_EQ(invoked.size(), 1u);

    // The handler goes with its owner.
    owner.reset();
    EXPECT_FALSE(canvas.commands().invoke(Command::CommandInvocation("Post Event")));
}

TEST(WidgetBehaviour, ChoicesTogglesAndSlidersFollowThePointer)
{
    UI::Canvas canvas(300, 200);
    auto& combo = static_cast<UI::Radudar::ComboBox&>(*canvas.maker().create("Radudar ComboBox", canvas, nullptr, "Rate"));
    combo.setFrame(10, 10, 100, 20);
    combo.setPropertyFromText("Items", "String", "44.1 kHz;48 kHz;96 kHz");
    click(canvas, centre(combo));
    ASSERT_NE(combo.menu(), nullptr);
    ASSERT_FALSE(combo.menu()->isHidden());
    const UI::Rect m = combo.menu()->frame();
    click(canvas, {m.left + 20, m.top + 4 + 2 * 20 + 10}); // the third item
    EXPECT_EQ(combo.selectedIndex(), 2u);

    auto& toggle = static_cast<UI::Radudar::ToggleButton&>(
        *canvas.maker().create("Radudar OnOffPushButton", canvas, nullptr, "Loop"));
    toggle.setFrame(10, 40, 60, 20);
    click(canvas, centre(toggle));
    EXPECT_TRUE(toggle.isOn());
    click(canvas, centre(toggle));
    EXPECT_FALSE(toggle.isOn());

    auto& mono = static_cast<UI::Radudar::CheckBox&>(*canvas.maker().create("Radudar RadioButton", canvas, nullptr, "Mono"));
    auto& stereo = static_cast<UI::Radudar::CheckBox&>(*canvas.maker().create("Radudar RadioButton", canvas, nullptr, "Stereo"));
    mono.setFrame(10, 70, 60, 16);
    stereo.setFrame(80, 70, 60, 16);
    click(canvas, centre(mono));
    click(canvas, centre(stereo));
    EXPECT_FALSE(mono.isChecked());
    EXPECT_TRUE(stereo.isChecked());

    auto& group = static_cast<UI::Radudar::CheckBox&>(*canvas.maker().create("Radudar Group CheckBox", canvas, nullptr, "Fades"));
    group.setFrame(10, 100, 120, 40);
    auto& inside = *canvas.maker().create("Radudar SmallOnOffButton", canvas, &group, "Auto");
    inside.setFrame(10, 20, 50, 16);
    EXPECT_TRUE(inside.isEnabledInTree());
    click(canvas, {group.canvasFrame().left + 5, group.canvasFrame().top + 8});
    EXPECT_FALSE(group.isChecked());
    EXPECT_FALSE(inside.isEnabledInTree());

    auto& snap = static_cast<UI::Radudar::Slider&>(*canvas.maker().create("Radudar SnapSlider", canvas, nullptr, "Steps"));
    snap.setFrame(150, 10, 112, 16); // 100 pixels of travel, five stops
    const UI::Rect s = snap.canvasFrame();
    canvas.tree().dispatch({UI::InputKind::Down, {s.left + 6 + 30, s.top + 8}});
    EXPECT_FLOAT_EQ(snap.value(), 0.25f) << "0.3 snaps to the stop at 0.25";
    canvas.tree().dispatch({UI::InputKind::Drag, {s.left + 6 + 90, s.top + 8}});
    canvas.tree().dispatch({UI::InputKind::Up, {s.left + 6 + 90, s.top + 8}});
    EXPECT_FLOAT_EQ(snap.value(), 1.0f);

    auto& stack = static_cast<UI::WindowStack&>(*canvas.maker().create("Window Stack", canvas, nullptr, "Pages"));
    stack.setFrame(150, 40, 100, 50);
    auto& first = UI::Window::create<UI::Window>(stack, "First");
    auto& second = UI::Window::create<UI::Window>(stack, "Second");
    EXPECT_FALSE(first.isHidden());
    EXPECT_TRUE(second.isHidden());
    EXPECT_TRUE(stack.setMetric(0, 1));
    EXPECT_TRUE(first.isHidden());
    EXPECT_FALSE(second.isHidden());
    EXPECT_EQ(second.frame(), UI::Rect::fromSize(0, 0, 100, 50));
}
