#pragma once
#include "util/Text.h"

namespace UI {

class Canvas;
class PluginWrapperHeader;
namespace Radudar {
class MouseOverButton;
}

// What the plug-in wrapper adds to a plug-in window: its header band with
// the product title and the help button (which the main window connects to
// its help popover).
class PluginWrapperMixin {
public:
    static constexpr int headerHeight = 40;

    PluginWrapperHeader* wrapperHeader() const { return header_; }
    // The wrapper's help button; null before the header is built.
    Radudar::MouseOverButton* wrapperHelpButton() const;

protected:
    // Builds the header across the top of the canvas, as its next child.
    void buildWrapperHeader(Canvas& canvas);

private:
    PluginWrapperHeader* header_ = nullptr;
};

} // namespace UI
