#pragma once
#include "platform/MessageBoxFace.h"
#include "ui/Image.h"
#include "ui/MessageBoxView.h"

namespace UI {

// A notice's face in the plug-in's look: a MessageBoxView drawn into an image
// of its size, for the platform's dialog to show. [any-thread] for its owner
class MessageBoxFace final : public Platform::MessageBoxFace {
public:
    MessageBoxFace(const Util::String& text, Platform::MessageBox::Icon icon);

    int width() const override { return view_.width(); }
    int height() const override { return view_.height(); }
    bool onButton(int x, int y) const override { return view_.buttonArea().contains({x, y}); }
    bool buttonPressed() const override { return view_.buttonPressed(); }
    void setButtonPressed(bool pressed) override { view_.setButtonPressed(pressed); }
    const uint8_t* draw() override;
    int stride() const override { return picture_.stride(); }

    static Platform::MessageBoxFaceMaker maker();

private:
    MessageBoxView view_;
    Image picture_;
};

} // namespace UI
