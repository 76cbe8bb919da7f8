#include <gtest/gtest.h>

#include "ConsoleFixture.h"
#include "product/PluginFactoryImpl.h"
#include "support/TestEnvironment.h"
#include "ui/Canvas.h"
#include "ui/LayoutLoader.h"
#include "ui/LayoutWriter.h"
#include "ui/MainPluginWindow.h"
#include "ui/PluginEditorWindow.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Every window below `window`: its path of names, frame, hidden state and properties.
void describe(const UI::Window& window, const std::string& path, std::vector<std::string>& out)
{
    for (const auto& child : window.children()) {
        const std::string childPath = path + "/" + child->name();
        const UI::Rect& f = child->frame();
        std::ostringstream line;
        line << childPath << " " << f.left << "," << f.top << " " << f.width() << "x" << f.height()
             << (child->isHidden() ? " hidden" : "");
        for (const auto& name : child->propertyNames())
            line << " [" << name << "=" << child->propertyText(name).value_or("?") << "]";
        out.push_back(line.str());
        describe(*child, childPath, out);
    }
}

std::vector<std::string> described(const UI::Window& root)
{
    std::vector<std::string> out;
    describe(root, "", out);
    return out;
}

TEST(LayoutWriterTest, TheWrittenTreeLoadsBackOntoAFreshWindow)
{
    UI::MainPluginWindow saved;
    ASSERT_TRUE(saved.open(0));
    UI::Canvas& canvas = saved.canvas();
    UI::Window* moved = canvas.findWindow("Status Label");
    UI::Window* hidden = canvas.findWindow("Sent Reference Label");
    UI::Window* relabelled = canvas.findWindow("StatusText");
    ASSERT_TRUE(moved && hidden && relabelled);
    moved->setFrame(7, 9, 123, 45);
    hidden->hide();
    ASSERT_TRUE(relabelled->setProperty("Text", Util::String("Saved & <restored> \"quoted\"\tline\nnext")));
    const Util::String xml = UI::LayoutWriter::write(canvas);

    UI::MainPluginWindow loaded;
    ASSERT_TRUE(loaded.open(0));
    ASSERT_NE(described(loaded.canvas()), described(canvas));
    ASSERT_TRUE(UI::LayoutLoader(loaded.canvas()).apply(xml, "saved layout", nullptr));
    EXPECT_EQ(described(loaded.canvas()), described(canvas));
}

struct SaveLayoutCommandTest : ::testing::Test {
    void TearDown() override { UI::ResourceManager::instance().setOverrideFolder({}); }
};

TEST_F(SaveLayoutCommandTest, WritesTheOpenWindowsLayoutIntoTheResourceFolder)
{
    TestSupport::RecordingMessageBox box;
    Platform::installMessageBox(&box);
    TestWrapper wrapper;
    Plugin plugin(wrapper.creation(), PluginFactoryImpl::product());
    auto& console = plugin.consoleCommands();

    console.run("savelayout");
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown.back(),
              (TestSupport::Notice{"Save Layout", "Open the plug-in window to save its layout file tree."}));

    ASSERT_EQ(plugin.openEditor({}), EntryProtocol::Success);
    console.run("resourcedir");
    console.run("savelayout");
    EXPECT_EQ(box.shown.back().text,
              "Choose a resource directory first (resourcedir <path>): the layout file tree is saved there.");

    const fs::path folder = fs::path(TestSupport::makeTempFolder("layout")) / "resources";
    console.run("resourcedir " + folder.string());
    console.run("savelayout");
    const fs::path file = folder / "UI/Layout/Layout_MainWindow.layout";
    EXPECT_EQ(box.shown.back(), (TestSupport::Notice{"Save Layout", "The layout file tree was saved to \"" +
                                                                        file.string() + "\"."}));
    std::ifstream in(file);
    const std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto* editor = dynamic_cast<UI::PluginEditorWindow*>(plugin.editor());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(xml, UI::LayoutWriter::write(editor->window()->canvas()));
    plugin.closeEditor();
    console.run("resourcedir");
    Platform::installMessageBox(nullptr);
}

} // namespace
