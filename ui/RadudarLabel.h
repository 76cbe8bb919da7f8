#pragma once
#include "ui/DrawContext.h"
#include "ui/Window.h"

namespace UI::Radudar {

// One line of text ("Radudar Label"). Properties: "Text"; "Style" (LabelStyle:
// "Normal" or "Bright"); "Text Color" (Checked Color, replaces the style's
// colour when checked); "Font Size"; "Bold"; "Alignment" (TextAlignment).
// Style-sheet class "RadudarLabel".
class Label : public Window {
public:
    Label(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& text = {});

    const Util::String& text() const { return stringProperty("Text"); }
    void setText(const Util::String& text) { setProperty("Text", text); }
    void setTextColor(Color color) { setProperty("Text Color", Util::Checked<Color>{true, color}); }
    void setBright(bool bright) { setProperty("Style", Util::EnumValue{bright ? 1u : 0u}); }
    Font font() const;
    Color textColor() const;
    TextAlign alignment() const { return TextAlign(enumProperty("Alignment")); }
    // The width of the text in the label's font.
    double textWidth() const { return DrawContext::textWidth(text(), font()); }

    void draw(DrawContext& context) override;
};

} // namespace UI::Radudar
