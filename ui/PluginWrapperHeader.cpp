#include "ui/PluginWrapperHeader.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/RadudarMouseOverButton.h"

namespace UI {

namespace {
constexpr int helpSize = 20;
}

PluginWrapperHeader::PluginWrapperHeader(Canvas& canvas, Window* parent, const Util::String& name)
    : Window(canvas, parent, name)
{
    setStyleClass("ModuleWrapper");
    declare("Title", "String", Util::String("TW Relay"));
    declare("Title Color", "Checked Color", Util::Checked<Color>{});
    help_ = &Window::create<Radudar::MouseOverButton>(*this, "Wrapper Help Button");
    help_->setStyle("ShuttleHelp");
}

void PluginWrapperHeader::layout()
{
    help_->setFrame(width() - helpSize - 12, (height() - helpSize) / 2, helpSize, helpSize);
}

void PluginWrapperHeader::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    context.fillRect(Rect{0, 0, width() - 1, height() - 2}, palette.color("HeaderBackground"));
    context.fillRect(Rect{0, height() - 1, width() - 1, height() - 1}, palette.color("HeaderLine"));
    // The product mark: a blue tile with a short waveform.
    const int top = (height() - 18) / 2;
    context.fillRoundRect(Rect::fromSize(12, top, 18, 18), 4, palette.color("AccentColor"));
    const int bars[] = {4, 9, 13, 7, 11, 5};
    for (int i = 0; i < 6; ++i) {
        const int x = 15 + i * 2;
        const int h = bars[i];
        context.fillRect(Rect{x, top + 9 - h / 2, x, top + 9 - h / 2 + h - 1}, Color::rgb(0xf4f7f9));
    }
    const auto& custom = get<Util::Checked<Color>>("Title Color");
    const Color title = custom.checked ? custom.value : palette.color("HeaderTitleColor");
    context.drawTextInRect(stringProperty("Title"), {13.0, true}, title, Rect{38, 0, width() / 2, height() - 2},
                           TextAlign::Left);
}

} // namespace UI
