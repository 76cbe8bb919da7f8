#include "ui/MultiText.h"

#include "ui/Canvas.h"

#include <cmath>

namespace UI {

MultiText::MultiText(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& text)
    : Window(canvas, parent, name)
{
    setStyleClass("MultiText");
    declare("Text", "String", text);
    declare("Word Wrap", "Bool", true);
    declare("Alignment", "TextAlignment", Util::EnumValue{0});
    declare("Text Color Key", "String", Util::String("LabelTextColor"));
    declare("Font Size", "Float", 11.0f);
    declare("Line Spacing", "Int", int32_t(3));
}

std::vector<Util::String> MultiText::wrap(const Util::String& text, const Font& font, double width, bool wordWrap)
{
    std::vector<Util::String> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        Util::String paragraph = text.substr(start, end == Util::String::npos ? Util::String::npos : end - start);
        for (char& c : paragraph)
            if (c == '\t' || c == '\r')
                c = ' ';
        if (!wordWrap) {
            lines.push_back(paragraph);
        } else {
            Util::String line;
            size_t pos = 0;
            while (pos <= paragraph.size()) {
                size_t blank = paragraph.find(' ', pos);
                if (blank == Util::String::npos)
                    blank = paragraph.size();
                const Util::String word = paragraph.substr(pos, blank - pos);
                const Util::String candidate = line.empty() ? word : line + " " + word;
                if (!line.empty() && DrawContext::textWidth(candidate, font) > width) {
                    lines.push_back(line);
                    line = word;
                } else {
                    line = candidate;
                }
                pos = blank + 1;
            }
            lines.push_back(line);
        }
        if (end == Util::String::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::vector<Util::String> MultiText::lines() const
{
    return wrap(text(), font(), width(), boolProperty("Word Wrap"));
}

void MultiText::draw(DrawContext& context)
{
    const Font f = font();
    const Color color = canvas().palette().color(stringProperty("Text Color Key"));
    const TextAlign align = TextAlign(enumProperty("Alignment"));
    const int step = int(DrawContext::lineHeight(f)) + intProperty("Line Spacing");
    int y = 0;
    for (const auto& line : lines()) {
        if (y > height())
            break;
        context.drawTextInRect(line, f, color, Rect::fromSize(0, y, width(), step), align);
        y += step;
    }
}

} // namespace UI
