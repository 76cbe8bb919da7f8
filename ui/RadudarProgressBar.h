#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// A progress bar ("Radudar ProgressBar"): "Progress" from 0 to 1 fills it
// from the left.
class ProgressBar : public Window {
public:
    ProgressBar(Canvas& canvas, Window* parent, const Util::String& name);
    void setProgress(float progress) { setProperty("Progress", progress); }
    void draw(DrawContext& context) override;
};

} // namespace UI::Radudar
