#include "ui/PluginWindowToolCommand.h"

#include "platform/MessageBox.h"
#include "ui/MainPluginWindow.h"
#include "ui/ToolWindow.h"

namespace UI {

PluginWindowToolCommand::PluginWindowToolCommand(std::function<MainPluginWindow*()> window, Util::String title,
                                                 Util::String noWindowText)
    : window_(std::move(window)), title_(std::move(title)), noWindowText_(std::move(noWindowText))
{
}

PluginWindowToolCommand::~PluginWindowToolCommand() = default;

void PluginWindowToolCommand::consoleCommand(const Util::String&)
{
    MainPluginWindow* window = window_ ? window_() : nullptr;
    if (!window) {
        Platform::messageBox().show(title_, noWindowText_, Platform::MessageBox::Icon::Information);
        return;
    }
    const auto life = window->lifeToken();
    if (!tool_ || toolTargetLife_.expired() || toolTargetLife_.lock() != life.lock()) {
        tool_ = makeTool(*window);
        toolTargetLife_ = life;
    }
    tool_->open();
}

} // namespace UI
