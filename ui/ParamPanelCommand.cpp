#include "ui/ParamPanelCommand.h"

#include "core/Plugin.h"
#include "ui/ParamPanel.h"

namespace UI {

void ParamPanelCommand::consoleCommand(const Util::String&)
{
    if (!window_) {
        const uint32_t rows = plugin_.parameters().list(HostParameters::List::Second).count();
        window_ = std::make_unique<ToolWindow>("ParamPanel HostWindow", "Param Panel", ParamPanel::Width,
                                               ParamPanel::heightFor(rows));
        panel_ = &Window::create<ParamPanel>(window_->canvas(), "ParamPanel", plugin_);
    } else {
        panel_->refresh();
    }
    window_->open();
}

} // namespace UI
