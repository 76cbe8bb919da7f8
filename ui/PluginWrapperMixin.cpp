#include "ui/PluginWrapperMixin.h"

#include "ui/Canvas.h"
#include "ui/PluginWrapperHeader.h"

namespace UI {

void PluginWrapperMixin::buildWrapperHeader(Canvas& canvas)
{
    header_ = &Window::create<PluginWrapperHeader>(canvas, "Plugin Wrapper Header");
    header_->setFrame(0, 0, canvas.width(), headerHeight);
}

Radudar::MouseOverButton* PluginWrapperMixin::wrapperHelpButton() const
{
    return header_ ? &header_->helpButton() : nullptr;
}

} // namespace UI
