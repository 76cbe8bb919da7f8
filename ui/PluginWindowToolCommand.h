#pragma once
#include "core/ConsoleCommandDelegate.h"

#include <functional>
#include <memory>

namespace UI {

class MainPluginWindow;
class ToolWindow;

// A console command that opens a tool window over the instance's plug-in
// window: a new tool when the plug-in window was made again, the same one
// brought to the front otherwise. Without an open plug-in window the user is
// told so (title, text). [ui-thread]
class PluginWindowToolCommand : public ConsoleCommand::Delegate {
public:
    // `window` answers the instance's open plug-in window, or null.
    PluginWindowToolCommand(std::function<MainPluginWindow*()> window, Util::String title, Util::String noWindowText);
    ~PluginWindowToolCommand() override;
    void consoleCommand(const Util::String& line) override;

protected:
    virtual std::unique_ptr<ToolWindow> makeTool(MainPluginWindow& window) = 0;
    ToolWindow* tool() const { return tool_.get(); }

private:
    std::function<MainPluginWindow*()> window_;
    Util::String title_, noWindowText_;
    std::unique_ptr<ToolWindow> tool_;
    std::weak_ptr<void> toolTargetLife_;
};

} // namespace UI
