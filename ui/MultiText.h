#pragma once
#include "ui/DrawContext.h"
#include "ui/Window.h"

#include <vector>

namespace UI {

// Several lines of text ("Radudar MultiText"): line feeds break lines and,
// with "Word Wrap" on, words wrap at the window's width. Properties: "Text",
// "Word Wrap", "Alignment" (TextAlignment), "Text Color Key" (a palette key),
// "Font Size", "Line Spacing" (pixels added between lines). Lines start at the
// top. Style-sheet class "MultiText".
class MultiText : public Window {
public:
    MultiText(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& text = {});

    const Util::String& text() const { return stringProperty("Text"); }
    void setText(const Util::String& text) { setProperty("Text", text); }
    void setWordWrap(bool wrap) { setProperty("Word Wrap", wrap); }
    void setAlignment(TextAlign align) { setProperty("Alignment", Util::EnumValue{uint32_t(align)}); }
    void setTextColorKey(const Util::String& key) { setProperty("Text Color Key", key); }
    Font font() const { return {floatProperty("Font Size"), false}; }

    // The lines as drawn at the current width.
    std::vector<Util::String> lines() const;
    void draw(DrawContext& context) override;

    // Breaks text into lines of at most `width` pixels (words longer than a
    // line stay whole); line feeds always break. Tabs count as blanks.
    static std::vector<Util::String> wrap(const Util::String& text, const Font& font, double width, bool wordWrap);
};

} // namespace UI
