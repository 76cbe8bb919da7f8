#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/HotDrawCommand.h"
#include "ui/Image.h"
#include "ui/RedrawIndicator.h"

#include <vector>

namespace {

const UI::Color fill = UI::Color::rgb(0x404040);

struct Panel final : UI::Window {
    using Window::Window;
    void draw(UI::DrawContext& context) override { context.fillRect(bounds(), fill); }
};

struct Box final : Platform::MessageBox {
    std::vector<Util::String> texts;
    void show(const Util::String& title, const Util::String& text, Icon) override
    {
        EXPECT_EQ(title, "Hot Draw");
        texts.push_back(text);
    }
};

class HotDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        installed = &Platform::messageBox(); // the product's, put back after
        Platform::installMessageBox(&box);
    }
    void TearDown() override
    {
        UI::RedrawIndicator::instance().setMode(UI::RedrawIndicator::Mode::Off);
        UI::RedrawIndicator::instance().setTextOnly(false);
        UI::RedrawIndicator::instance().noteModifiers(0);
        Platform::installMessageBox(installed);
    }
    Util::String run(const Util::String& line)
    {
        box.texts.clear();
        UI::HotDrawCommand().consoleCommand(line);
        return box.texts.size() == 1 ? box.texts[0] : "(" + std::to_string(box.texts.size()) + " answers)";
    }
    Box box;
    Platform::MessageBox* installed = nullptr;
};

// Pixels that differ from the panel's fill inside `area`.
int marked(const UI::Image& image, const UI::Rect& area)
{
    int n = 0;
    for (int y = area.top; y <= area.bottom; ++y)
        for (int x = area.left; x <= area.right; ++x)
            n += image.pixel(x, y) != fill;
    return n;
}

} // namespace

// The panel's area is redrawn after the pointer moved to a point with some
// modifiers; what the redraw left on the edge of the area and in its corner
// shows what the indicator drew.
TEST_F(HotDraw, ModesDecideWhatARedrawLeavesBehind)
{
    struct Case {
        const char* line;
        UI::Point pointer;
        uint32_t modifiers;
        bool outline;
        bool text;
    };
    const Case cases[] = {
        {"hotdraw off", {100, 100}, 0, false, false},
        {"hotdraw on", {100, 100}, 0, true, false},
        {"hotdraw caps", {100, 100}, 0, false, false},
        {"hotdraw caps", {100, 100}, UI::CapsLockModifier, true, false},
        {"hotdraw cursor", {100, 100}, 0, false, false},
        {"hotdraw cursor", {20, 20}, 0, true, false},
        {"hotdraw cursor", {21, 5}, UI::CapsLockModifier, false, false},
        {"hotdraw textonly 1", {100, 100}, 0, false, false}, // mode still cursor: pointer outside
        {"hotdraw on", {100, 100}, 0, false, true},
        {"hotdraw textonly 0", {100, 100}, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.line << " at " << c.pointer.x << "," << c.pointer.y << " modifiers "
                                        << c.modifiers);
        UI::Canvas canvas(200, 160);
        auto& panel = UI::Window::create<Panel>(canvas, "Panel");
        panel.setFrame(40, 30, 100, 80);
        UI::Image image(200, 160);
        canvas.renderAll(image);
        run(c.line);
        canvas.tree().dispatch({UI::InputKind::Move, c.pointer, c.modifiers});
        // When the line switched text only, the mode stays what the case before set.
        if (Util::String(c.line).find("textonly 1") != Util::String::npos) {
            ASSERT_EQ(UI::RedrawIndicator::instance().mode(), UI::RedrawIndicator::Mode::Cursor);
        }

        panel.invalidate();
        ASSERT_EQ(canvas.redraw(image), UI::Rect::fromSize(40, 30, 100, 80));
        const int edge = marked(image, UI::Rect::fromSize(40, 30, 100, 1)) + marked(image, UI::Rect::fromSize(40, 109, 100, 1));
        const int corner = marked(image, UI::Rect::fromSize(42, 32, 14, 12));
        const int inside = marked(image, UI::Rect::fromSize(60, 50, 60, 40));
        EXPECT_EQ(edge, c.outline ? 200 : 0);
        EXPECT_EQ(corner > 0, c.text);
        EXPECT_EQ(inside, 0);
    }
}

TEST_F(HotDraw, AnswersAndUsage)
{
    const Util::String usage = "Allows us to see how often we're drawing so we can avoid extra drawing. Usage: "
                               "hotdraw [on|caps|cursor|off] OR hotdraw textonly [0|1]";
    struct Case {
        const char* line;
        Util::String answer;
    };
    const Case cases[] = {
        {"hotdraw on", "On"},
        {"hotdraw CAPS", "On via CAPS Lock"},
        {"hotdraw cursor", "On via cursor in [0,0 20,20]"},
        {"hotdraw off", "Off"},
        {"hotdraw textonly 1", "Text only"},
        {"hotdraw textonly 0", "Text and areas"},
        {"hotdraw", usage},
        {"hotdraw sometimes", usage},
        {"hotdraw on now", usage},
        {"hotdraw textonly 2", usage},
        {"hotdraw textonly", usage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.line), c.answer) << c.line;
    EXPECT_EQ(UI::HotDrawCommand::helpText(), usage);
}
