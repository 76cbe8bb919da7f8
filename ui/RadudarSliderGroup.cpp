#include "ui/RadudarSliderGroup.h"

#include "ui/RadudarLabel.h"
#include "ui/RadudarSlider.h"

#include <cstdio>

namespace UI::Radudar {

SliderGroup::SliderGroup(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RadudarSliderGroup");
    declare("Title", "String", Util::String());
    declare("Units", "String", Util::String());
    declare("Value", "Float", 0.0f);
    declare("Range", "Float Range", Util::Range<float>{0.0f, 1.0f});
    title_ = &Window::create<Label>(*this, "Title");
    slider_ = &Window::create<Slider>(*this, "Slider");
    value_ = &Window::create<Label>(*this, "Value");
    value_->setProperty("Alignment", Util::EnumValue{2});
    connect(slider_->valueChanged, [this](float v) { setProperty("Value", v); });
    propertyChanged("Title");
}

void SliderGroup::propertyChanged(const Util::String& name)
{
    title_->setText(stringProperty("Title"));
    slider_->setProperty("Range", get<Util::Range<float>>("Range"));
    slider_->setValue(floatProperty("Value"));
    showValue();
    Window::propertyChanged(name);
}

void SliderGroup::showValue()
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(slider_->value()));
    const Util::String& units = stringProperty("Units");
    value_->setText(units.empty() ? Util::String(text) : Util::format("%1 %2", text, units));
}

void SliderGroup::layout()
{
    const int titleWidth = width() / 4;
    const int valueWidth = width() * 3 / 10;
    title_->setFrame(0, 0, titleWidth, height());
    slider_->setFrame(titleWidth + 4, 0, width() - titleWidth - valueWidth - 8, height());
    value_->setFrame(width() - valueWidth, 0, valueWidth, height());
}

} // namespace UI::Radudar
