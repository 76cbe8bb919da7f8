#include <gtest/gtest.h>

#include "ImageCompare.h"
#include "support/TestEnvironment.h"
#include "ui/Canvas.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarMouseOverButton.h"
#include "support/WidgetGallery.h"
#include "util/Log.h"

#include <cstdlib>
#include <filesystem>

namespace {

const UI::Color marker = UI::Color::rgb(0xff00ff);

std::string goldenPath(const std::string& name) { return std::string(RELAY_UI_TEST_DIR) + "/golden/" + name; }

bool regenerating() { return std::getenv("RELAY_UPDATE_GOLDEN") != nullptr; }

bool untouched(const UI::Image& image, const UI::Rect& except)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!except.contains({x, y}) && image.pixel(x, y) != marker)
                return false;
    return true;
}

} // namespace

// The page with every window kind, drawn off screen, against the stored
// reference. RELAY_UPDATE_GOLDEN=1 writes a new reference instead.
TEST(Rendering, GalleryMatchesTheStoredReference)
{
    Util::Log::Capture log;
    UI::Canvas canvas(470, 276);
    UI::buildWidgetGallery(canvas);
    UI::Image image(470, 276);
    canvas.renderAll(image);
    EXPECT_TRUE(log.messages().empty()) << log.messages().front();

    const std::string actual = std::string(RELAY_BINARY_DIR) + "/WidgetGallery.actual.png";
    ASSERT_TRUE(image.savePng(actual));
    if (regenerating()) {
        ASSERT_TRUE(image.savePng(goldenPath("WidgetGallery.png")));
        GTEST_SKIP() << "reference written to " << goldenPath("WidgetGallery.png");
    }
    const auto reference = UI::Image::loadPng(goldenPath("WidgetGallery.png"));
    ASSERT_TRUE(reference) << "no reference; run with RELAY_UPDATE_GOLDEN=1";
    const auto d = TestSupport::compareImages(image, *reference, 24);
    ASSERT_TRUE(d.sameSize);
    EXPECT_LE(d.pixelsOver, size_t(470 * 276 / 500)) << "see " << actual;
    EXPECT_LT(d.mean, 0.5) << "see " << actual;
}

TEST(Rendering, ARedrawWithNothingChangedDrawsNothing)
{
    UI::Canvas canvas(470, 276);
    UI::buildWidgetGallery(canvas);
    UI::Image image(470, 276);
    canvas.renderAll(image);

    image.fill(marker);
    EXPECT_TRUE(canvas.redraw(image).empty());
    EXPECT_TRUE(untouched(image, {}));

    // Setting a property to the value it has, and moving over a window with no
    // pointer look, change nothing on screen either.
    auto* label = dynamic_cast<UI::Radudar::Label*>(canvas.findWindow("Title"));
    ASSERT_NE(label, nullptr);
    label->setText(label->text());
    canvas.tree().dispatch({UI::InputKind::Move, {60, 15}});
    canvas.tree().dispatch({UI::InputKind::Move, {61, 16}});
    EXPECT_TRUE(canvas.redraw(image).empty());
    EXPECT_TRUE(untouched(image, {}));
}

TEST(Rendering, AChangeRedrawsOnlyTheChangedWindow)
{
    UI::Canvas canvas(470, 276);
    UI::buildWidgetGallery(canvas, false);
    UI::Image image(470, 276);
    canvas.renderAll(image);
    image.fill(marker);

    auto* label = dynamic_cast<UI::Radudar::Label*>(canvas.findWindow("Title"));
    ASSERT_NE(label, nullptr);
    label->setText("Another title");
    const UI::Rect drawn = canvas.redraw(image);
    EXPECT_EQ(drawn, label->canvasFrame());
    EXPECT_TRUE(untouched(image, drawn));
    EXPECT_NE(image.pixel(drawn.left + 2, drawn.top + 2), marker);

    // The pointer over a button changes its image: only the button is drawn.
    image.fill(marker);
    auto* trash = canvas.findWindow("Trash");
    ASSERT_NE(trash, nullptr);
    const UI::Rect frame = trash->canvasFrame();
    canvas.tree().dispatch({UI::InputKind::Move, {frame.left + 5, frame.top + 5}});
    EXPECT_EQ(canvas.redraw(image), frame);
    EXPECT_TRUE(untouched(image, frame));
}
