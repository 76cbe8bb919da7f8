#include "ui/ClipThumbnail.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/RadudarLabel.h"

#include <algorithm>

namespace UI {

namespace {
constexpr int LabelTop = 10;
constexpr int LabelHeight = 14;
constexpr int LabelRightMargin = 10;
constexpr int GapBeforeLabel = 14;
constexpr int BarPitch = 4;
} // namespace

ClipThumbnail::ClipThumbnail(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& label)
    : Window(canvas, parent, name)
{
    setStyleClass("ClipThumbnail");
    label_ = &Window::create<Radudar::Label>(*this, "Label", label);
    label_->setTextColor(Color::rgb(LabelColor));
    label_->setProperty("Alignment", Util::EnumValue{uint32_t(TextAlign::Right)});
    setFrame(0, 0, parent ? parent->width() : 0, Height);
}

void ClipThumbnail::setHighlighted(bool highlighted)
{
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    invalidate();
}

int ClipThumbnail::waveformWidth() const
{
    const double free = width() - label_->textWidth() - GapBeforeLabel;
    return std::max(0, int(free / BarPitch) * BarPitch);
}

void ClipThumbnail::layout()
{
    label_->setFrame(0, LabelTop, width() - LabelRightMargin, LabelHeight);
    gray_ = canvas().images().get(GrayImage);
    blue_ = canvas().images().get(BlueImage);
}

void ClipThumbnail::draw(DrawContext& context)
{
    const auto& image = highlighted_ ? blue_ : gray_;
    if (!image)
        return;
    const int drawn = std::min(waveformWidth(), image->width());
    if (drawn <= 0)
        return;
    context.drawImage(*image, Rect::fromSize(0, 0, drawn, image->height()), {0, (height() - image->height()) / 2});
}

} // namespace UI
