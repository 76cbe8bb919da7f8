#include "ui/RadudarDialogButtonGroup.h"

#include "ui/RadudarPushButton.h"

namespace UI::Radudar {

namespace {
constexpr int buttonWidth = 70;
constexpr int gap = 8;
} // namespace

DialogButtonGroup::DialogButtonGroup(Canvas& canvas, Window* parent, const Util::String& name)
    : Window(canvas, parent, name)
{
    setStyleClass("RadudarDialogButtonGroup");
    cancel_ = &Window::create<PushButton>(*this, "Cancel Button");
    cancel_->setTitle("Cancel");
    ok_ = &Window::create<PushButton>(*this, "OK Button");
    ok_->setTitle("OK");
    connect(ok_->clicked, [this] { accepted(); });
    connect(cancel_->clicked, [this] { cancelled(); });
}

void DialogButtonGroup::layout()
{
    ok_->setFrame(width() - buttonWidth, 0, buttonWidth, height());
    cancel_->setFrame(width() - 2 * buttonWidth - gap, 0, buttonWidth, height());
}

} // namespace UI::Radudar
