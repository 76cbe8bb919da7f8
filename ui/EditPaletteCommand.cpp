#include "ui/EditPaletteCommand.h"

#include "ui/MainPluginWindow.h"
#include "ui/PaletteEditor.h"

namespace UI {

EditPaletteCommand::EditPaletteCommand(std::function<MainPluginWindow*()> window)
    : PluginWindowToolCommand(std::move(window), "Palette Editor", "Open the plug-in window to edit its palette.")
{
}

PaletteEditor* EditPaletteCommand::editor() const { return static_cast<PaletteEditor*>(tool()); }

std::unique_ptr<ToolWindow> EditPaletteCommand::makeTool(MainPluginWindow& window)
{
    return std::make_unique<PaletteEditor>(window.canvas(), window.lifeToken());
}

} // namespace UI
