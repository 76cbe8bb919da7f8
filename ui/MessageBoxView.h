#pragma once
#include "platform/MessageBox.h"
#include "ui/DrawContext.h"
#include "ui/TWPalette.h"

#include <vector>

namespace UI {

// The face of a notice: the icon of its kind at the top left, the text beside
// it wrapped to lines, and below them a band with the "OK" button at the
// right, all in the plug-in's colours. The box is as large as its content
// needs. Drawn outside any window tree, into an image of the box's size.
// [any-thread] for the thread that owns it
class MessageBoxView {
public:
    static constexpr double MaxTextWidth = 400;
    static constexpr int MinWidth = 300;
    static inline const Font TextFont{12.0, false};

    MessageBoxView(const Util::String& text, Platform::MessageBox::Icon icon);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<Util::String>& lines() const { return lines_; }
    const Rect& iconArea() const { return iconArea_; }
    const Rect& textArea() const { return textArea_; }
    const Rect& buttonArea() const { return buttonArea_; }

    // The button is drawn sunken while the pointer holds it down.
    void setButtonPressed(bool pressed) { buttonPressed_ = pressed; }
    bool buttonPressed() const { return buttonPressed_; }

    // Draws the whole box into `target` (at least width() by height()).
    void draw(Image& target) const;

    // Lines of at most `width` pixels: words wrap, and a word wider than a
    // line is broken between characters.
    static std::vector<Util::String> wrap(const Util::String& text, const Font& font, double width);

private:
    void drawIcon(const DrawContext& context) const;

    Platform::MessageBox::Icon icon_;
    std::vector<Util::String> lines_;
    int lineStep_ = 0;
    int width_ = 0;
    int height_ = 0;
    Rect iconArea_;
    Rect textArea_;
    Rect bandArea_;
    Rect buttonArea_;
    bool buttonPressed_ = false;
    TWPalette palette_;
};

} // namespace UI
