#pragma once
#include "ui/Window.h"

namespace UI {

// The frame of the plug-in window ("MainPluginWindow Frame"): a hairline
// border around the whole canvas, under every other window.
class FrameWindow : public Window {
public:
    FrameWindow(Canvas& canvas, Window* parent, const Util::String& name);
    void draw(DrawContext& context) override;
};

} // namespace UI
