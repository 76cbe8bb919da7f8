#pragma once
#include "ui/PluginWindowToolCommand.h"

namespace UI {

class DesignAid;

// The "designaid" console command: opens the design aid, a magnifier of the
// plug-in window. [ui-thread]
class DesignAidCommand final : public PluginWindowToolCommand {
public:
    static constexpr const char* Name = "designaid";
    static constexpr const char* HelpText = "Shows Design Aid, our live design assistant with pixel zoom and other tools.";

    explicit DesignAidCommand(std::function<MainPluginWindow*()> window);
    DesignAid* aid() const;

private:
    std::unique_ptr<ToolWindow> makeTool(MainPluginWindow& window) override;
};

} // namespace UI
