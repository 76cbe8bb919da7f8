#include "console/SaveLayoutCommand.h"

#include "core/Plugin.h"
#include "platform/MessageBox.h"
#include "ui/LayoutWriter.h"
#include "ui/MainPluginWindow.h"
#include "ui/PluginEditorWindow.h"
#include "ui/ResourceManager.h"

#include <filesystem>
#include <fstream>

namespace ConsoleCommand {

namespace {
const char* const Title = "Save Layout";
}

void SaveLayoutCommand::consoleCommand(const Util::String&)
{
    auto& box = Platform::messageBox();
    const auto* editor = dynamic_cast<const UI::PluginEditorWindow*>(plugin_.editor());
    UI::MainPluginWindow* window = editor ? editor->window() : nullptr;
    if (!window) {
        box.show(Title, "Open the plug-in window to save its layout file tree.", Platform::MessageBox::Icon::Warning);
        return;
    }
    const Util::String folder = UI::ResourceManager::instance().overrideFolder();
    if (folder.empty()) {
        box.show(Title, "Choose a resource directory first (resourcedir <path>): the layout file tree is saved there.",
                 Platform::MessageBox::Icon::Warning);
        return;
    }
    UI::Canvas& canvas = window->canvas();
    const std::filesystem::path file =
        std::filesystem::path(folder) / canvas.layoutPath(canvas.layoutName());
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << UI::LayoutWriter::write(canvas);
    if (!out.flush()) {
        box.show("Error", Util::format("The layout file tree could not be saved to \"%1\".", file.string()),
                 Platform::MessageBox::Icon::Error);
        return;
    }
    box.show(Title, Util::format("The layout file tree was saved to \"%1\".", file.string()),
             Platform::MessageBox::Icon::Information);
}

} // namespace ConsoleCommand
