#pragma once
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Geometry.h"
#include "ui/Image.h"

#include <memory>
#include <string_view>
#include <vector>

namespace UI {

enum class TextAlign { Left, Center, Right };

// Insets of a nine-part image: the corners keep their size, the edges stretch
// along one axis and the centre along both.
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where one window draws: a target image, the window's origin on it and the
// clip rectangle (both in target pixels). Coordinates given to the drawing
// operations are relative to the window. Drawing is anti-aliased (AGG);
// text uses the FontLibrary. [any-thread] for the thread that owns the target
// image (the window tree draws on the user-interface thread).
class DrawContext {
public:
    explicit DrawContext(Image& target);
    DrawContext(const DrawContext&) = default;
    DrawContext& operator=(const DrawContext&) = default;

    // A context for a child area: origin moved by (x, y), clip narrowed to `area`
    // (both relative to this context).
    DrawContext child(Point origin, const Rect& area) const;
    // Narrows the clip to `area`, relative to this context.
    DrawContext clippedTo(const Rect& area) const;
    // The clip rectangle relative to this context; empty when nothing can be drawn.
    Rect clip() const { return clip_.offset(-origin_.x, -origin_.y); }
    bool visible(const Rect& area) const { return !clip().intersect(area).empty(); }

    void fillRect(const Rect& r, Color color) const;
    void fillRoundRect(const Rect& r, double radius, Color color) const;
    void strokeRoundRect(const Rect& r, double radius, double width, Color color) const;
    void fillVerticalGradient(const Rect& r, double radius, Color top, Color bottom) const;
    void fillEllipse(double cx, double cy, double rx, double ry, Color color) const;
    void strokeEllipse(double cx, double cy, double rx, double ry, double width, Color color) const;
    void fillPolygon(std::initializer_list<Point> points, Color color) const;
    void strokePolyline(std::initializer_list<Point> points, double width, Color color) const;
    void drawLine(double x1, double y1, double x2, double y2, double width, Color color) const;

    // Draws the `source` part of `image` with its top-left corner at `at`.
    void drawImage(const Image& image, const Rect& source, Point at, uint8_t alpha = 255) const;
    void drawImage(const Image& image, Point at, uint8_t alpha = 255) const { drawImage(image, image.bounds(), at, alpha); }
    // Scales the `source` part onto `dest` by nearest sampling (for stretched edges).
    void drawImageStretched(const Image& image, const Rect& source, const Rect& dest, uint8_t alpha = 255) const;
    void drawNinePart(const Image& image, const Insets& insets, const Rect& dest, uint8_t alpha = 255) const;
    // Tiles the image over `dest`.
    void tileImage(const Image& image, const Rect& dest) const;

    // Draws one line of UTF-8 text with its baseline at y.
    void drawText(std::string_view text, const Font& font, Color color, double x, double baseline) const;
    // Draws one line in `r`, vertically centred, aligned horizontally.
    void drawTextInRect(std::string_view text, const Font& font, Color color, const Rect& r, TextAlign align) const;
    static double textWidth(std::string_view text, const Font& font);
    static double lineHeight(const Font& font);
    static double ascender(const Font& font);

private:
    struct Renderer;
    DrawContext(std::shared_ptr<Renderer> renderer, Point origin, Rect clip);
    void prepare() const;
    template <typename Path>
    void fillPath(Path& path, Color color) const;

    std::shared_ptr<Renderer> renderer_;
    Point origin_;
    Rect clip_;
};

} // namespace UI
