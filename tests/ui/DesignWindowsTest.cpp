#include "MainWindowFixture.h"

#include "platform/MessageBox.h"
#include "ui/DesignAid.h"
#include "ui/DesignAidCommand.h"
#include "ui/EditPaletteCommand.h"
#include "ui/PaletteEditor.h"
#include "ui/ParamPanel.h"
#include "ui/ParamPanelCommand.h"
#include "ui/RadudarEditBox.h"

#include <filesystem>

namespace {

using List = HostParameters::List;

class DesignWindows : public TestSupport::MainWindowFixture {
protected:
    void SetUp() override { start("protools"); }

    // Types text into a field and presses Return, as a user of the tool window does.
    static void type(UI::Radudar::EditBox& field, const Util::String& text)
    {
        auto& tree = field.canvas().tree();
        tree.setFocus(&field);
        while (!field.text().empty()) {
            UI::KeyEvent end{UI::KeyEvent::End, {}, 0};
            tree.dispatchKey(end);
            tree.dispatchKey({UI::KeyEvent::Backspace, {}, 0});
        }
        tree.dispatchKey({UI::KeyEvent::Text, text, 0});
        tree.dispatchKey({UI::KeyEvent::Return, {}, 0});
    }

    UI::Color shown(int x, int y) { return window().hostWindow().image().pixel(x, y).withAlpha(255); }

    float value(uint32_t row)
    {
        float v = -1.0f;
        EXPECT_EQ(plugin->parameters().value(List::Second, row, v, 1), 0);
        return v;
    }
};

} // namespace

// The frame's border is drawn in the palette's "HeaderLine" colour.
TEST_F(DesignWindows, ColourEditedInThePaletteEditorIsWhatThePluginWindowDraws)
{
    openWindow();
    window().idle();
    const UI::Color original = window().canvas().palette().color("HeaderLine");
    ASSERT_EQ(shown(0, 138), original);

    UI::EditPaletteCommand command([this] { return &window(); });
    command.consoleCommand("editpalette");
    ASSERT_NE(command.editor(), nullptr);
    auto* field = command.editor()->field("HeaderLine");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), original.toHex());

    type(*field, "ff00ff");
    window().idle();
    EXPECT_EQ(shown(0, 138), UI::Color::rgb(0xff00ff));
    EXPECT_EQ(shown(469, 138), UI::Color::rgb(0xff00ff));

    type(*field, "not a colour");
    EXPECT_EQ(field->text(), "ff00ff");
    EXPECT_EQ(window().canvas().palette().color("HeaderLine"), UI::Color::rgb(0xff00ff));
}

TEST_F(DesignWindows, DesignAidMagnifiesWhatIsUnderThePointer)
{
    openWindow();
    window().idle();
    UI::DesignAidCommand command([this] { return &window(); });
    command.consoleCommand("designaid");
    ASSERT_NE(command.aid(), nullptr);
    EXPECT_EQ(command.aid()->title(), "Design Aid");

    for (const UI::Point at : {UI::Point{0, 138}, UI::Point{235, 200}, UI::Point{100, 30}}) {
        SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
        window().input({UI::InputKind::Move, at, 0});
        window().idle();
        const UI::Color under = shown(at.x, at.y);
        EXPECT_EQ(command.aid()->readout(), Util::format("%1, %2  #%3", at.x, at.y, under.toHex()));
        const UI::Image& aid = command.aid()->hostWindow().image();
        for (const auto& [dx, dy] : {std::pair{-3, 0}, std::pair{0, 4}, std::pair{2, -2}}) {
            const UI::Point cell = UI::DesignAid::cellCentre(dx, dy);
            const UI::Point source{at.x + dx, at.y + dy};
            const UI::Color expected = window().hostWindow().image().bounds().contains(source)
                                           ? shown(source.x, source.y)
                                           : UI::Color::rgb(0x000000);
            EXPECT_EQ(aid.pixel(cell.x, cell.y).withAlpha(255), expected) << dx << "," << dy;
        }
    }
    // Left of the window's edge there is nothing to show.
    window().input({UI::InputKind::Move, {0, 100}, 0});
    window().idle();
    const UI::Point outside = UI::DesignAid::cellCentre(-2, 0);
    EXPECT_EQ(command.aid()->hostWindow().image().pixel(outside.x, outside.y).withAlpha(255), UI::Color::rgb(0x000000));
}

TEST_F(DesignWindows, WithoutThePluginWindowTheToolsSaySo)
{
    struct Box final : Platform::MessageBox {
        std::vector<Util::String> titles;
        void show(const Util::String& title, const Util::String&, Icon) override { titles.push_back(title); }
    } box;
    Platform::MessageBox& installed = Platform::messageBox(); // the product's, put back after
    Platform::installMessageBox(&box);
    UI::EditPaletteCommand palette([] { return nullptr; });
    UI::DesignAidCommand aid([] { return nullptr; });
    palette.consoleCommand("editpalette");
    aid.consoleCommand("designaid");
    Platform::installMessageBox(&installed);
    EXPECT_EQ(box.titles, (std::vector<Util::String>{"Palette Editor", "Design Aid"}));
    EXPECT_EQ(palette.editor(), nullptr);
    EXPECT_EQ(aid.aid(), nullptr);
}

// Each parameter is given another value by typing into its row; saving,
// changing everything back and loading brings the saved values back.
TEST_F(DesignWindows, ParamPanelEditsEveryParameterAndItsSettingsFileRoundTrips)
{
    UI::ParamPanelCommand command(*plugin);
    command.consoleCommand("parampanel");
    ASSERT_NE(command.window(), nullptr);
    EXPECT_EQ(command.window()->hostName(), "ParamPanel HostWindow");
    EXPECT_EQ(command.window()->title(), "Param Panel");
    UI::ParamPanel& panel = *command.panel();
    const ParamList& list = plugin->parameters().list(List::Second);
    ASSERT_EQ(panel.rowCount(), list.count());
    ASSERT_GT(panel.rowCount(), 0u);

    std::vector<float> before, edited;
    for (uint32_t row = 0; row < panel.rowCount(); ++row) {
        const auto fields = list.fields(row);
        before.push_back(value(row));
        const float target = before.back() == fields.maximum ? fields.minimum : fields.maximum;
        const Util::String text = fields.labels.empty() ? Util::toText(target)
                                                        : fields.labels[size_t(target - fields.minimum)];
        SCOPED_TRACE(list.entry(row).elementName + " " + list.entry(row).displayName + " <- " + text);
        type(panel.field(row), text);
        EXPECT_EQ(value(row), target);
        EXPECT_EQ(panel.field(row).text(), text);
        edited.push_back(value(row));
    }
    // Text that is no value of the parameter changes nothing.
    type(panel.field(0), "no value");
    EXPECT_EQ(value(0), edited[0]);

    const std::string folder = TestSupport::makeTempFolder("paramsettings");
    const std::string path = folder + "/Param Panel.paramsettings";
    ASSERT_TRUE(panel.save(path));
    EXPECT_EQ(panel.settingsPath(), path) << "the folder is remembered";
    for (uint32_t row = 0; row < panel.rowCount(); ++row)
        ASSERT_EQ(plugin->parameters().setValue(List::Second, row, before[row], 1), 0);

    ASSERT_TRUE(panel.load(path));
    for (uint32_t row = 0; row < panel.rowCount(); ++row)
        EXPECT_EQ(value(row), edited[row]) << list.entry(row).displayName;
    EXPECT_FALSE(panel.load(folder + "/missing.paramsettings"));
}
