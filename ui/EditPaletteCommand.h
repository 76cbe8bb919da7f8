#pragma once
#include "ui/PluginWindowToolCommand.h"

namespace UI {

class PaletteEditor;

// The "editpalette" console command: opens the palette editor over the
// plug-in window's palette. [ui-thread]
class EditPaletteCommand final : public PluginWindowToolCommand {
public:
    static constexpr const char* Name = "editpalette";
    static constexpr const char* HelpText = "Shows the palette editor, if this plugin supports it.";

    explicit EditPaletteCommand(std::function<MainPluginWindow*()> window);
    PaletteEditor* editor() const;

private:
    std::unique_ptr<ToolWindow> makeTool(MainPluginWindow& window) override;
};

} // namespace UI
