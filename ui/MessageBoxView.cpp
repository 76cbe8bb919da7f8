#include "ui/MessageBoxView.h"

#include "ui/FontLibrary.h"
#include "ui/MultiText.h"
#include "ui/RadudarPushButton.h"

#include <algorithm>
#include <cmath>

namespace UI {

namespace {
constexpr int Margin = 20;
constexpr int IconSize = 32;
constexpr int IconGap = 16;
constexpr int LineSpacing = 3;
constexpr int BandPadding = 12;
constexpr int ButtonWidth = 84;
constexpr int ButtonHeight = 26;
const Font ButtonFont{11.0, false};
const Color ErrorRed = Color::rgb(0xd9463e);
const Color WarningAmber = Color::rgb(0xe3a233);
const Color SignWhite = Color::rgb(0xffffff);

// A line wider than `width` (one long word) cut between characters.
std::vector<Util::String> breakBetweenCharacters(const Util::String& line, const Font& font, double width)
{
    std::vector<Util::String> pieces;
    Util::String piece;
    for (size_t pos = 0; pos < line.size();) {
        const size_t start = pos;
        FontLibrary::nextCodePoint(line, pos);
        const Util::String character = line.substr(start, pos - start);
        if (!piece.empty() && DrawContext::textWidth(piece + character, font) > width) {
            pieces.push_back(piece);
            piece.clear();
        }
        piece += character;
    }
    pieces.push_back(piece);
    return pieces;
}
} // namespace

std::vector<Util::String> MessageBoxView::wrap(const Util::String& text, const Font& font, double width)
{
    std::vector<Util::String> lines;
    for (const Util::String& line : MultiText::wrap(text, font, width, true)) {
        if (DrawContext::textWidth(line, font) <= width) {
            lines.push_back(line);
            continue;
        }
        for (Util::String& piece : breakBetweenCharacters(line, font, width))
            lines.push_back(std::move(piece));
    }
    return lines;
}

MessageBoxView::MessageBoxView(const Util::String& text, Platform::MessageBox::Icon icon)
    : icon_(icon), lines_(wrap(text, TextFont, MaxTextWidth))
{
    lineStep_ = int(DrawContext::lineHeight(TextFont)) + LineSpacing;
    double widest = 1;
    for (const Util::String& line : lines_)
        widest = std::max(widest, DrawContext::textWidth(line, TextFont));
    const int textWidth = int(std::ceil(widest));
    const int textHeight = lineStep_ * int(lines_.size()) - LineSpacing;
    const int bodyHeight = std::max(IconSize, textHeight);
    width_ = std::max(MinWidth, Margin + IconSize + IconGap + textWidth + Margin);

    iconArea_ = Rect::fromSize(Margin, Margin, IconSize, IconSize);
    // A short text stands level with the icon's middle.
    textArea_ = Rect::fromSize(iconArea_.right + 1 + IconGap, Margin + std::max(0, (IconSize - textHeight) / 2),
                               textWidth, textHeight);
    const int bandTop = Margin + bodyHeight + Margin;
    bandArea_ = Rect::fromSize(0, bandTop, width_, ButtonHeight + 2 * BandPadding);
    buttonArea_ = Rect::fromSize(width_ - BandPadding - ButtonWidth, bandTop + BandPadding, ButtonWidth, ButtonHeight);
    height_ = bandArea_.bottom + 1;
}

void MessageBoxView::draw(Image& target) const
{
    DrawContext context(target);
    context.fillVerticalGradient(Rect::fromSize(0, 0, width_, bandArea_.top), 0,
                                 palette_.color("WindowBackgroundTop"), palette_.color("WindowBackgroundBottom"));
    context.fillRect(bandArea_, palette_.color("HeaderBackground"));
    context.fillRect(Rect::fromSize(0, bandArea_.top, width_, 1), palette_.color("HeaderLine"));
    drawIcon(context);

    const Color textColor = palette_.color("LabelBrightTextColor");
    const double ascender = DrawContext::ascender(TextFont);
    for (size_t i = 0; i < lines_.size(); ++i)
        context.drawText(lines_[i], TextFont, textColor, textArea_.left, textArea_.top + double(i) * lineStep_ + ascender);

    // The only button is the default one (Return presses it), so it is lit.
    Radudar::PushButton::drawFace(context, palette_, true, buttonArea_, 4, false, buttonPressed_, true);
    context.drawTextInRect("OK", ButtonFont, textColor, buttonArea_.offset(0, buttonPressed_ ? 1 : 0),
                           TextAlign::Center);
}

void MessageBoxView::drawIcon(const DrawContext& context) const
{
    const double cx = iconArea_.left + IconSize / 2.0;
    const double cy = iconArea_.top + IconSize / 2.0;
    const double r = IconSize / 2.0;
    switch (icon_) {
    case Platform::MessageBox::Icon::Error:
        context.fillEllipse(cx, cy, r, r, ErrorRed);
        context.drawLine(cx - 6, cy - 6, cx + 6, cy + 6, 3, SignWhite);
        context.drawLine(cx + 6, cy - 6, cx - 6, cy + 6, 3, SignWhite);
        break;
    case Platform::MessageBox::Icon::Warning: {
        const int left = iconArea_.left;
        const int top = iconArea_.top;
        context.fillPolygon({{left + IconSize / 2, top + 1}, {left + IconSize, top + IconSize - 2}, {left, top + IconSize - 2}},
                            WarningAmber);
        const Color mark = palette_.color("HeaderBackground");
        context.drawLine(cx, cy - 5, cx, cy + 5, 3, mark);
        context.fillEllipse(cx, cy + 9.5, 1.8, 1.8, mark);
        break;
    }
    case Platform::MessageBox::Icon::Information:
        context.fillEllipse(cx, cy, r, r, palette_.color("AccentColor"));
        context.fillEllipse(cx, cy - 8, 2.2, 2.2, SignWhite);
        context.drawLine(cx, cy - 3, cx, cy + 9, 3.5, SignWhite);
        break;
    }
}

} // namespace UI
