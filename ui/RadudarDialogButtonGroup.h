#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

class PushButton;

// The closing buttons of a dialog ("Radudar DialogButtonGroup"): "OK Button"
// and "Cancel Button", right-aligned in a row; `accepted` and `cancelled`.
class DialogButtonGroup : public Window {
public:
    DialogButtonGroup(Canvas& canvas, Window* parent, const Util::String& name);

    Util::Signal<void()> accepted;
    Util::Signal<void()> cancelled;
    PushButton& okButton() const { return *ok_; }
    PushButton& cancelButton() const { return *cancel_; }
    void layout() override;

private:
    PushButton* ok_;
    PushButton* cancel_;
};

} // namespace UI::Radudar
