#include "ui/DesignAidCommand.h"

#include "ui/DesignAid.h"
#include "ui/MainPluginWindow.h"

namespace UI {

DesignAidCommand::DesignAidCommand(std::function<MainPluginWindow*()> window)
    : PluginWindowToolCommand(std::move(window), "Design Aid", "Open the plug-in window to inspect it.")
{
}

DesignAid* DesignAidCommand::aid() const { return static_cast<DesignAid*>(tool()); }

std::unique_ptr<ToolWindow> DesignAidCommand::makeTool(MainPluginWindow& window)
{
    return std::make_unique<DesignAid>(window.canvas(), window.hostWindow(), window.lifeToken());
}

} // namespace UI
