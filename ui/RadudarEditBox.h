#pragma once
#include "ui/Window.h"

namespace UI::Radudar {

// A one-line text field ("Radudar EditBox"): a press gives it the key focus,
// typed text goes in at the caret, Backspace/Delete/Left/Right/Home/End edit,
// Return emits `committed`. "Text" and "Placeholder" (shown while empty).
// The search kind ("Radudar SearchEditBox") adds a magnifier and a clear
// button that empties the field.
class EditBox : public Window {
public:
    EditBox(Canvas& canvas, Window* parent, const Util::String& name, bool search = false);

    Util::Signal<void(const Util::String& text)> textChanged;
    Util::Signal<void(const Util::String& text)> committed;

    const Util::String& text() const { return stringProperty("Text"); }
    void setText(const Util::String& text);
    size_t caret() const { return caret_; }
    bool hasFocus() const { return focused_; }

    bool wantsPointer() const override { return true; }
    bool wantsFocus() const override { return true; }
    void pointerDown(const InputEvent& event) override;
    bool keyDown(const KeyEvent& key) override;
    void focusChanged(bool focused) override;
    void draw(DrawContext& context) override;

private:
    Rect textArea() const;
    Rect clearButton() const;
    void edit(Util::String text, size_t caret);
    bool search_;
    size_t caret_ = 0;
    bool focused_ = false;
};

} // namespace UI::Radudar
