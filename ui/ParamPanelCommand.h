#pragma once
#include "core/ConsoleCommandDelegate.h"
#include "ui/ToolWindow.h"

#include <memory>

class Plugin;

namespace UI {

class ParamPanel;

// The "parampanel" console command: opens the instance's parameter panel in a
// window of its own ("ParamPanel HostWindow", titled "Param Panel"), or
// brings it to the front when it is open. [ui-thread]
class ParamPanelCommand final : public ConsoleCommand::Delegate {
public:
    static constexpr const char* Name = "parampanel";
    static constexpr const char* HelpText = "Opens a panel that lists all DSP parameters in editable form";

    explicit ParamPanelCommand(Plugin& plugin) : plugin_(plugin) {}
    void consoleCommand(const Util::String& line) override;

    ToolWindow* window() const { return window_.get(); }
    ParamPanel* panel() const { return panel_; }

private:
    Plugin& plugin_;
    std::unique_ptr<ToolWindow> window_;
    ParamPanel* panel_ = nullptr;
};

} // namespace UI
