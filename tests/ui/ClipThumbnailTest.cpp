#include <gtest/gtest.h>

#include "ui/Canvas.h"
#include "ui/ClipThumbnail.h"
#include "ui/Image.h"
#include "ui/RadudarLabel.h"
#include "util/Log.h"

#include <cmath>

namespace {

// The columns and rows where two renderings of a canvas differ.
struct Changed {
    int left = -1, right = -1, top = -1, bottom = -1;
    bool any() const { return right >= 0; }
};

Changed difference(const UI::Image& a, const UI::Image& b)
{
    Changed c;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                c.left = c.left < 0 ? x : std::min(c.left, x);
                c.right = std::max(c.right, x);
                c.top = c.top < 0 ? y : c.top;
                c.bottom = y;
            }
    return c;
}

struct Rendered {
    UI::Image gray{470, 60};
    UI::Image blue{470, 60};
};

constexpr int RowLeft = 21, RowTop = 10;

// The row drawn gray and blue: what differs is the strip alone.
Rendered render(UI::Canvas& canvas, UI::ClipThumbnail& row)
{
    Rendered r;
    row.setHighlighted(false);
    canvas.renderAll(r.gray);
    row.setHighlighted(true);
    canvas.renderAll(r.blue);
    return r;
}

} // namespace

TEST(ClipThumbnail, ARowOfHeight35WithAGrayRightAlignedLabelAcrossIt)
{
    UI::Canvas canvas(470, 60);
    auto& row = UI::Window::create<UI::ClipThumbnail>(canvas, "Thumbnail 3", "Pro Tools 3");
    EXPECT_EQ(row.height(), 35);
    ASSERT_EQ(row.findChild("Label"), &row.label());
    EXPECT_EQ(row.label().text(), "Pro Tools 3");
    EXPECT_EQ(row.label().textColor(), UI::Color::rgb(0x6b6b6b));
    EXPECT_EQ(row.label().alignment(), UI::TextAlign::Right);

    // Whatever a layout gave the label, the row's own layout pass places it.
    row.label().setFrame(5, 10, -19, 14);
    row.setFrame(0, 0, 428, 35);
    EXPECT_EQ(row.label().frame(), UI::Rect::fromSize(0, 10, 418, 14));
    row.setFrame(0, 35, 300, 35);
    EXPECT_EQ(row.label().frame(), UI::Rect::fromSize(0, 10, 290, 14));
}

TEST(ClipThumbnail, TheStripStopsOnAWholeBarFourteenPixelsShortOfTheLabelText)
{
    Util::Log::Capture log;
    UI::Canvas canvas(470, 60);
    for (const char* text : {"the host 1", "Pro Tools 16", "Media Composer 12"}) {
        auto& row = UI::Window::create<UI::ClipThumbnail>(canvas, "Thumbnail", text);
        row.setFrame(RowLeft, RowTop, 428, 35);
        const double textWidth = row.label().textWidth();
        ASSERT_GT(textWidth, 20.0) << text;
        const int width = int((428 - textWidth - 14) / 4) * 4;

        const Rendered r = render(canvas, row);
        const Changed strip = difference(r.gray, r.blue);
        ASSERT_TRUE(strip.any()) << text;
        // Bars are 3 pixels wide every 4: the last one ends within the width.
        EXPECT_EQ(strip.left, RowLeft) << text;
        EXPECT_LE(strip.right, RowLeft + width - 1) << text;
        EXPECT_GE(strip.right, RowLeft + width - 4) << text;
        // The 24-pixel strip is centred in the 35-pixel row: from row 5 on.
        EXPECT_GE(strip.top, RowTop + 5) << text;
        EXPECT_LE(strip.bottom, RowTop + 5 + 23) << text;
        EXPECT_EQ(row.waveformWidth(), width) << text;

        // Gray for a captured clip, blue for a repaired one.
        const UI::Color g = r.gray.pixel(RowLeft + 1, RowTop + 17), b = r.blue.pixel(RowLeft + 1, RowTop + 17);
        EXPECT_EQ(g.r, g.b) << text;
        EXPECT_GT(b.b, b.r + 60) << text;
        canvas.release(row);
    }
    EXPECT_TRUE(log.messages().empty()) << log.messages().front();
}

TEST(ClipThumbnail, ARowTooNarrowForItsLabelDrawsNoStrip)
{
    UI::Canvas canvas(470, 60);
    auto& row = UI::Window::create<UI::ClipThumbnail>(canvas, "Thumbnail 1", "Media Composer 16");
    row.setFrame(RowLeft, RowTop, int(row.label().textWidth()) + 16, 35);
    const Rendered r = render(canvas, row);
    EXPECT_FALSE(difference(r.gray, r.blue).any());
    EXPECT_EQ(row.waveformWidth(), 0);
}
