#include <gtest/gtest.h>

#include "ui/MessageBoxView.h"

#include <algorithm>
#include <string>

namespace {

using UI::MessageBoxView;

std::string withoutBlanks(const std::string& text)
{
    std::string kept;
    for (char c : text)
        if (c != ' ' && c != '\n')
            kept += c;
    return kept;
}

} // namespace

// Every line fits the text column, and wrapping loses no character: a path
// without blanks is cut between characters, line feeds start new lines.
TEST(MessageBoxView, WrapsEveryTextIntoTheColumnWithoutLosingAnything)
{
    const std::string path = "/opt/Quillex/" + std::string(150, 'x') + "/win32/Audio_Editor.exe";
    const std::string texts[] = {
        "OK.",
        "The TW standalone application could not be launched at path /opt/Quillex/TW 6/win32/Quillex TW 6 Audio "
        "Editor.exe. Please reinstall TW to ensure that the application exists. Error code: 2",
        "Could not be launched at path " + path + ". Error code: 2",
        "First paragraph.\nSecond paragraph.\n\nAfter an empty line.",
        "",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const MessageBoxView view(text, Platform::MessageBox::Icon::Error);
        std::string joined;
        for (const auto& line : view.lines()) {
            EXPECT_LE(UI::DrawContext::textWidth(line, MessageBoxView::TextFont), MessageBoxView::MaxTextWidth) << line;
            joined += line;
        }
        EXPECT_EQ(withoutBlanks(joined), withoutBlanks(text));
        EXPECT_GE(view.lines().size(), size_t(std::count(text.begin(), text.end(), '\n') + 1));
    }
}

// Holding the button down changes the button and nothing else.
TEST(MessageBoxView, APressShowsOnTheButtonOnly)
{
    MessageBoxView view("Press me.", Platform::MessageBox::Icon::Information);
    UI::Image up(view.width(), view.height());
    UI::Image down(view.width(), view.height());
    view.draw(up);
    view.setButtonPressed(true);
    view.draw(down);
    int changedInside = 0;
    int changedOutside = 0;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x)
            if (!(up.pixel(x, y) == down.pixel(x, y)))
                ++(view.buttonArea().contains({x, y}) ? changedInside : changedOutside);
    EXPECT_GT(changedInside, 100);
    EXPECT_EQ(changedOutside, 0);
}
