#include "ui/DrawContext.h"

// AGG's rasterizer reads vertex coordinates that GCC cannot prove are set once
// its code is inlined here; the warning is about AGG, not about this file.
// Clang has no such warning (and would warn about the unknown name).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "ui/FontLibrary.h"

#include <agg_conv_stroke.h>
#include <agg_conv_transform.h>
#include <agg_ellipse.h>
#include <agg_path_storage.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_rounded_rect.h>
#include <agg_scanline_u.h>
#include <agg_span_allocator.h>

#include <algorithm>
#include <cmath>

namespace UI {

namespace {
using PixFmt = agg::pixfmt_rgba32_pre;
using RendererBase = agg::renderer_base<PixFmt>;
using SolidRenderer = agg::renderer_scanline_aa_solid<RendererBase>;

agg::rgba8 premultiplied(Color c)
{
    agg::rgba8 color(c.r, c.g, c.b, c.a);
    color.premultiply();
    return color;
}

// A span generator that gives every pixel of a row the row's colour.
struct RowColors {
    const agg::rgba8* colors;
    int firstRow;
    int count;
    void prepare() {}
    void generate(agg::rgba8* span, int, int y, unsigned length) const
    {
        std::fill(span, span + length, colors[std::clamp(y - firstRow, 0, count - 1)]);
    }
};

// A path-shaped rectangle covering whole pixels: edges on pixel boundaries.
agg::rounded_rect roundedRect(const Rect& r, double radius, double inset = 0)
{
    agg::rounded_rect shape(r.left + inset, r.top + inset, r.right + 1 - inset, r.bottom + 1 - inset, radius);
    shape.normalize_radius();
    return shape;
}
} // namespace

// The AGG pipeline shared by every context of one drawing pass.
struct DrawContext::Renderer {
    explicit Renderer(Image& target)
        : buffer(target.data(), unsigned(target.width()), unsigned(target.height()), target.stride()),
          pixfmt(buffer), base(pixfmt), solid(base)
    {
    }
    agg::rendering_buffer buffer;
    PixFmt pixfmt;
    RendererBase base;
    SolidRenderer solid;
    agg::rasterizer_scanline_aa<> rasterizer;
    agg::scanline_u8 scanline;
    agg::span_allocator<agg::rgba8> spans;
    std::vector<agg::rgba8> row;
    std::vector<agg::rgba8> rowColors;
};

DrawContext::DrawContext(Image& target)
    : renderer_(std::make_shared<Renderer>(target)), origin_{0, 0}, clip_(target.bounds())
{
}

DrawContext::DrawContext(std::shared_ptr<Renderer> renderer, Point origin, Rect clip)
    : renderer_(std::move(renderer)), origin_(origin), clip_(clip)
{
}

DrawContext DrawContext::child(Point origin, const Rect& area) const
{
    const Point absolute{origin_.x + origin.x, origin_.y + origin.y};
    return DrawContext(renderer_, absolute, clip_.intersect(area.offset(origin_.x, origin_.y)));
}

DrawContext DrawContext::clippedTo(const Rect& area) const
{
    return DrawContext(renderer_, origin_, clip_.intersect(area.offset(origin_.x, origin_.y)));
}

void DrawContext::prepare() const
{
    Renderer& r = *renderer_;
    if (clip_.empty())
        r.base.clip_box(1, 1, 0, 0); // nothing passes
    else
        r.base.clip_box(clip_.left, clip_.top, clip_.right, clip_.bottom);
    r.rasterizer.reset();
    r.rasterizer.clip_box(clip_.left, clip_.top, clip_.right + 1, clip_.bottom + 1);
}

template <typename Path>
void DrawContext::fillPath(Path& path, Color color) const
{
    if (clip_.empty())
        return;
    prepare();
    Renderer& r = *renderer_;
    agg::trans_affine move = agg::trans_affine_translation(origin_.x, origin_.y);
    agg::conv_transform<Path> placed(path, move);
    r.rasterizer.add_path(placed);
    r.solid.color(premultiplied(color));
    agg::render_scanlines(r.rasterizer, r.scanline, r.solid);
}

void DrawContext::fillRect(const Rect& rect, Color color) const
{
    const Rect area = rect.offset(origin_.x, origin_.y).intersect(clip_);
    if (area.empty())
        return;
    prepare();
    if (color.a == 255)
        renderer_->base.copy_bar(area.left, area.top, area.right, area.bottom, premultiplied(color));
    else
        renderer_->base.blend_bar(area.left, area.top, area.right, area.bottom, premultiplied(color), agg::cover_full);
}

void DrawContext::fillRoundRect(const Rect& r, double radius, Color color) const
{
    if (radius <= 0) {
        fillRect(r, color);
        return;
    }
    auto shape = roundedRect(r, radius);
    fillPath(shape, color);
}

void DrawContext::strokeRoundRect(const Rect& r, double radius, double width, Color color) const
{
    auto shape = roundedRect(r, radius, width / 2);
    agg::conv_stroke<agg::rounded_rect> stroke(shape);
    stroke.width(width);
    fillPath(stroke, color);
}

void DrawContext::fillVerticalGradient(const Rect& rect, double radius, Color top, Color bottom) const
{
    if (clip_.empty() || rect.empty())
        return;
    if (radius <= 0) {
        // A plain rectangle: one colour a row, no rasterising.
        const Rect area = rect.offset(origin_.x, origin_.y).intersect(clip_);
        if (area.empty())
            return;
        prepare();
        const float span = float(std::max(1, rect.height() - 1));
        for (int y = area.top; y <= area.bottom; ++y) {
            const Color c = top.mix(bottom, float(y - origin_.y - rect.top) / span);
            if (c.a == 255)
                renderer_->base.copy_hline(area.left, y, area.right, premultiplied(c));
            else
                renderer_->base.blend_hline(area.left, y, area.right, premultiplied(c), agg::cover_full);
        }
        return;
    }
    // Rounded: the outline is rasterised, and each row takes its one colour.
    Renderer& r = *renderer_;
    const int firstRow = rect.top + origin_.y;
    r.rowColors.resize(size_t(rect.height()));
    const float span = float(std::max(1, rect.height() - 1));
    for (int i = 0; i < rect.height(); ++i)
        r.rowColors[size_t(i)] = premultiplied(top.mix(bottom, float(i) / span));
    RowColors colors{r.rowColors.data(), firstRow, rect.height()};
    prepare();
    auto outline = roundedRect(rect, radius);
    agg::trans_affine move = agg::trans_affine_translation(origin_.x, origin_.y);
    agg::conv_transform<agg::rounded_rect> placed(outline, move);
    r.rasterizer.add_path(placed);
    agg::render_scanlines_aa(r.rasterizer, r.scanline, r.base, r.spans, colors);
}

void DrawContext::fillEllipse(double cx, double cy, double rx, double ry, Color color) const
{
    agg::ellipse shape(cx, cy, rx, ry);
    fillPath(shape, color);
}

void DrawContext::strokeEllipse(double cx, double cy, double rx, double ry, double width, Color color) const
{
    agg::ellipse shape(cx, cy, rx - width / 2, ry - width / 2);
    agg::conv_stroke<agg::ellipse> stroke(shape);
    stroke.width(width);
    fillPath(stroke, color);
}

void DrawContext::fillPolygon(std::initializer_list<Point> points, Color color) const
{
    agg::path_storage path;
    bool first = true;
    for (const Point& p : points) {
        if (first)
            path.move_to(p.x, p.y);
        else
            path.line_to(p.x, p.y);
        first = false;
    }
    path.close_polygon();
    fillPath(path, color);
}

void DrawContext::strokePolyline(std::initializer_list<Point> points, double width, Color color) const
{
    agg::path_storage path;
    bool first = true;
    for (const Point& p : points) {
        if (first)
            path.move_to(p.x + 0.5, p.y + 0.5);
        else
            path.line_to(p.x + 0.5, p.y + 0.5);
        first = false;
    }
    agg::conv_stroke<agg::path_storage> stroke(path);
    stroke.width(width);
    stroke.line_cap(agg::round_cap);
    stroke.line_join(agg::round_join);
    fillPath(stroke, color);
}

void DrawContext::drawLine(double x1, double y1, double x2, double y2, double width, Color color) const
{
    agg::path_storage path;
    path.move_to(x1, y1);
    path.line_to(x2, y2);
    agg::conv_stroke<agg::path_storage> stroke(path);
    stroke.width(width);
    fillPath(stroke, color);
}

void DrawContext::drawImage(const Image& image, const Rect& source, Point at, uint8_t alpha) const
{
    const Rect src = source.intersect(image.bounds());
    if (src.empty() || clip_.empty())
        return;
    prepare();
    agg::rendering_buffer buffer(const_cast<uint8_t*>(image.data()), unsigned(image.width()),
                                 unsigned(image.height()), image.stride());
    PixFmt pixels(buffer);
    // Inclusive edges, as AGG takes them (it adds the 1 itself).
    agg::rect_i area(src.left, src.top, src.right, src.bottom);
    renderer_->base.blend_from(pixels, &area, origin_.x + at.x - src.left, origin_.y + at.y - src.top, alpha);
}

void DrawContext::drawImageStretched(const Image& image, const Rect& source, const Rect& dest, uint8_t alpha) const
{
    const Rect src = source.intersect(image.bounds());
    const Rect target = dest.offset(origin_.x, origin_.y);
    const Rect area = target.intersect(clip_);
    if (src.empty() || area.empty())
        return;
    prepare();
    Renderer& r = *renderer_;
    r.row.resize(size_t(area.width()));
    for (int y = area.top; y <= area.bottom; ++y) {
        const int sy = src.top + (y - target.top) * src.height() / target.height();
        const uint8_t* line = image.row(sy);
        for (int x = area.left; x <= area.right; ++x) {
            const uint8_t* p = line + 4 * (src.left + (x - target.left) * src.width() / target.width());
            r.row[size_t(x - area.left)] = agg::rgba8(p[0], p[1], p[2], p[3]);
        }
        r.pixfmt.blend_color_hspan(area.left, y, unsigned(area.width()), r.row.data(), nullptr, alpha);
    }
}

void DrawContext::drawNinePart(const Image& image, const Insets& in, const Rect& dest, uint8_t alpha) const
{
    const int w = image.width();
    const int h = image.height();
    const int xs[4] = {0, in.left, w - in.right, w};
    const int ys[4] = {0, in.top, h - in.bottom, h};
    const int dxs[4] = {dest.left, dest.left + in.left, dest.right + 1 - in.right, dest.right + 1};
    const int dys[4] = {dest.top, dest.top + in.top, dest.bottom + 1 - in.bottom, dest.bottom + 1};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const Rect src{xs[col], ys[row], xs[col + 1] - 1, ys[row + 1] - 1};
            const Rect to{dxs[col], dys[row], dxs[col + 1] - 1, dys[row + 1] - 1};
            if (src.empty() || to.empty())
                continue;
            if (src.width() == to.width() && src.height() == to.height())
                drawImage(image, src, {to.left, to.top}, alpha);
            else
                drawImageStretched(image, src, to, alpha);
        }
    }
}

void DrawContext::tileImage(const Image& image, const Rect& dest) const
{
    if (image.empty())
        return;
    const DrawContext inside = clippedTo(dest);
    for (int y = dest.top; y <= dest.bottom; y += image.height())
        for (int x = dest.left; x <= dest.right; x += image.width())
            if (inside.visible(Rect::fromSize(x, y, image.width(), image.height())))
                inside.drawImage(image, {x, y});
}

void DrawContext::drawText(std::string_view text, const Font& font, Color color, double x, double baseline) const
{
    if (clip_.empty() || text.empty())
        return;
    FontLibrary& fonts = FontLibrary::instance();
    const FontLibrary::Lock held = fonts.lock();
    FontLibrary::CacheManager* cache = fonts.select(font);
    if (!cache)
        return;
    prepare();
    Renderer& r = *renderer_;
    r.solid.color(premultiplied(color));
    double penX = std::round(x + origin_.x);
    double penY = std::round(baseline + origin_.y);
    cache->reset_last_glyph();
    for (size_t pos = 0; pos < text.size();) {
        const char32_t code = FontLibrary::nextCodePoint(text, pos);
        const agg::glyph_cache* glyph = cache->glyph(code);
        if (!glyph)
            continue;
        cache->add_kerning(&penX, &penY);
        if (penX > clip_.right + 1)
            break;
        if (glyph->data_type == agg::glyph_data_gray8) {
            cache->init_embedded_adaptors(glyph, penX, penY);
            agg::render_scanlines(cache->gray8_adaptor(), cache->gray8_scanline(), r.solid);
        }
        penX += glyph->advance_x;
        penY += glyph->advance_y;
    }
}

void DrawContext::drawTextInRect(std::string_view text, const Font& font, Color color, const Rect& r, TextAlign align) const
{
    const double width = textWidth(text, font);
    double x = r.left;
    if (align == TextAlign::Center)
        x = r.left + (r.width() - width) / 2;
    else if (align == TextAlign::Right)
        x = r.right + 1 - width;
    const double baseline = r.top + std::floor((r.height() - lineHeight(font)) / 2) + ascender(font);
    clippedTo(r).drawText(text, font, color, std::floor(x), baseline);
}

double DrawContext::textWidth(std::string_view text, const Font& font)
{
    return FontLibrary::instance().textWidth(text, font);
}

double DrawContext::lineHeight(const Font& font)
{
    auto& fonts = FontLibrary::instance();
    return std::ceil(fonts.ascender(font) - fonts.descender(font));
}

double DrawContext::ascender(const Font& font) { return std::round(FontLibrary::instance().ascender(font)); }

} // namespace UI
