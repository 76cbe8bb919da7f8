#pragma once
#include "ui/Window.h"

namespace UI {

namespace Radudar {
class MouseOverButton;
}

// The plug-in wrapper's header band across the top of the plug-in window: the
// product mark and "Title" at the left, the help button ("Wrapper Help
// Button", a "ShuttleHelp" MouseOverButton) at the right. Style-sheet class
// "ModuleWrapper" ("Title", "Title Color").
class PluginWrapperHeader : public Window {
public:
    PluginWrapperHeader(Canvas& canvas, Window* parent, const Util::String& name);

    Radudar::MouseOverButton& helpButton() const { return *help_; }
    void layout() override;
    void draw(DrawContext& context) override;

private:
    Radudar::MouseOverButton* help_;
};

} // namespace UI
