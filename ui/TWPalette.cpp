#include "ui/TWPalette.h"

#include "ui/StyleSheet.h"

namespace UI {

TWPalette::TWPalette()
    : colors_{
          {"WindowBackgroundTop", Color::rgb(0x2a2d31)},
          {"WindowBackgroundBottom", Color::rgb(0x212327)},
          {"HeaderBackground", Color::rgb(0x1d1f22)},
          {"HeaderLine", Color::rgb(0x34383c)},
          {"HeaderTitleColor", Color::rgb(0xc9ced2)},
          {"LabelTextColor", Color::rgb(0x9aa1a7)},
          {"LabelBrightTextColor", Color::rgb(0xe3e7ea)},
          {"LabelDimTextColor", Color::rgb(0x6b6b6b)},
          {"DisabledTextColor", Color::rgb(0x5a6066)},
          {"AccentColor", Color::rgb(0x3a8fd6)},
          {"AccentBrightColor", Color::rgb(0x6db5ee)},
          {"ControlFill", Color::rgb(0x2e3236)},
          {"ControlFillHover", Color::rgb(0x373c41)},
          {"ControlFillPressed", Color::rgb(0x25282b)},
          {"ControlBorder", Color::rgb(0x464c52)},
          {"FieldFill", Color::rgb(0x1a1c1f)},
          {"FieldBorder", Color::rgb(0x33373b)},
          {"SelectionFill", Color::rgb(0x2a5f8f)},
          {"TooltipFill", Color::rgb(0xeceff1)},
          {"TooltipText", Color::rgb(0x1f2124)},
          {"MenuFill", Color::rgb(0x34383d)},
          {"MenuHighlight", Color::rgb(0x3a8fd6)},
          {"OverlayColor", Color::rgb(0x000000, 96)},
          {"MeterGrid", Color::rgb(0x2c3034)},
      }
{
}

void TWPalette::applyStyleSheet(StyleSheet& sheet)
{
    for (const auto& entry : sheet.classEntries("TWPalette")) {
        if (entry.type != "Color" && entry.type != "Checked Color")
            continue;
        if (const auto c = Color::fromHex(entry.value))
            colors_[entry.property] = *c;
    }
}

Color TWPalette::color(const Util::String& key) const
{
    const auto it = colors_.find(key);
    return it != colors_.end() ? it->second : colors_.at("LabelTextColor");
}

std::vector<Util::String> TWPalette::names() const
{
    std::vector<Util::String> keys;
    for (const auto& [key, color] : colors_)
        keys.push_back(key);
    return keys;
}

} // namespace UI
