#include "ui/MessageBoxFace.h"

namespace UI {

MessageBoxFace::MessageBoxFace(const Util::String& text, Platform::MessageBox::Icon icon)
    : view_(text, icon), picture_(view_.width(), view_.height())
{
}

const uint8_t* MessageBoxFace::draw()
{
    view_.draw(picture_);
    return picture_.data();
}

Platform::MessageBoxFaceMaker MessageBoxFace::maker()
{
    return [](const Util::String& text, Platform::MessageBox::Icon icon) {
        return std::make_unique<MessageBoxFace>(text, icon);
    };
}

} // namespace UI
