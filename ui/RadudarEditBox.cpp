#include "ui/RadudarEditBox.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"

#include <cmath>

namespace UI::Radudar {

namespace {
const Font fieldFont{11.0, false};

// Moves over whole UTF-8 characters.
size_t previousCharacter(const Util::String& s, size_t pos)
{
    while (pos > 0 && (static_cast<unsigned char>(s[--pos]) & 0xC0) == 0x80) {
    }
    return pos;
}
size_t nextCharacter(const Util::String& s, size_t pos)
{
    if (pos < s.size())
        ++pos;
    while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80)
        ++pos;
    return pos;
}
} // namespace

EditBox::EditBox(Canvas& canvas, Window* parent, const Util::String& name, bool search)
    : Window(canvas, parent, name), search_(search)
{
    setStyleClass(search ? "RadudarSearchEditBox" : "RadudarEditBox");
    declare("Text", "String", Util::String());
    declare("Placeholder", "String", Util::String(search ? "Search" : ""));
    caret_ = text().size();
}

void EditBox::setText(const Util::String& text) { edit(text, text.size()); }

void EditBox::edit(Util::String text, size_t caret)
{
    const bool changed = text != this->text();
    caret_ = std::min(caret, text.size());
    setProperty("Text", text);
    invalidate();
    if (changed)
        textChanged(this->text());
}

Rect EditBox::textArea() const
{
    const int right = search_ && !text().empty() ? 22 : 6; // room for the clear button
    return Rect{search_ ? 22 : 6, 0, width() - right, height() - 1};
}

Rect EditBox::clearButton() const { return Rect::fromSize(width() - 20, (height() - 14) / 2, 14, 14); }

void EditBox::pointerDown(const InputEvent& event)
{
    if (search_ && !text().empty() && clearButton().contains(event.point)) {
        edit({}, 0);
        return;
    }
    caret_ = text().size();
    invalidate();
}

bool EditBox::keyDown(const KeyEvent& key)
{
    const Util::String& s = text();
    switch (key.code) {
    case KeyEvent::Text:
        if (key.text.empty())
            return false;
        edit(s.substr(0, caret_) + key.text + s.substr(caret_), caret_ + key.text.size());
        return true;
    case KeyEvent::Backspace:
        if (caret_ > 0) {
            const size_t from = previousCharacter(s, caret_);
            edit(s.substr(0, from) + s.substr(caret_), from);
        }
        return true;
    case KeyEvent::Delete:
        if (caret_ < s.size())
            edit(s.substr(0, caret_) + s.substr(nextCharacter(s, caret_)), caret_);
        return true;
    case KeyEvent::Left: caret_ = previousCharacter(s, caret_); break;
    case KeyEvent::Right: caret_ = nextCharacter(s, caret_); break;
    case KeyEvent::Home: caret_ = 0; break;
    case KeyEvent::End: caret_ = s.size(); break;
    case KeyEvent::Return:
        committed(s);
        return true;
    default:
        return false;
    }
    invalidate();
    return true;
}

void EditBox::focusChanged(bool focused)
{
    focused_ = focused;
    invalidate();
}

void EditBox::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const bool enabled = isEnabledInTree();
    const double radius = search_ ? height() / 2.0 : 3.0;
    context.fillRoundRect(bounds(), radius, palette.color(focused_ ? "AccentColor" : "FieldBorder"));
    context.fillRoundRect(Rect{1, 1, width() - 2, height() - 2}, radius - 1, palette.color("FieldFill"));
    const Color ink = palette.color("LabelTextColor");
    if (search_) {
        const double cy = height() / 2.0 - 1;
        context.strokeEllipse(12, cy, 4.5, 4.5, 1.4, ink);
        context.drawLine(15.2, cy + 3.2, 18.5, cy + 6.5, 1.6, ink);
        if (!text().empty()) {
            const Rect x = clearButton();
            context.fillEllipse(x.left + 7, x.top + 7, 6, 6, palette.color("ControlBorder"));
            context.drawLine(x.left + 4.5, x.top + 4.5, x.left + 9.5, x.top + 9.5, 1.3, ink);
            context.drawLine(x.left + 9.5, x.top + 4.5, x.left + 4.5, x.top + 9.5, 1.3, ink);
        }
    }
    const Rect area = textArea();
    const DrawContext inside = context.clippedTo(area);
    if (text().empty()) {
        inside.drawTextInRect(stringProperty("Placeholder"), fieldFont, palette.color("DisabledTextColor"), area, TextAlign::Left);
    } else {
        inside.drawTextInRect(text(), fieldFont,
                                           palette.color(enabled ? "LabelBrightTextColor" : "DisabledTextColor"), area,
                                           TextAlign::Left);
    }
    if (focused_ && enabled) {
        const int x = area.left + int(std::round(DrawContext::textWidth(text().substr(0, caret_), fieldFont)));
        context.fillRect(Rect{x, 4, x, height() - 5}, palette.color("AccentBrightColor"));
    }
}

} // namespace UI::Radudar
