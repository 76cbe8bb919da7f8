// relay-drawimages: draws every PNG image of the plug-in window into a folder.
//   relay-drawimages <output folder>
// The images are drawn with AGG at build time, so the look lives in this file:
// a calm, dark surface with one blue accent. The same inputs always give the
// same bytes.
#include <agg_conv_curve.h>
#include <agg_conv_stroke.h>
#include <agg_ellipse.h>
#include <agg_path_storage.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_rendering_buffer.h>
#include <agg_rounded_rect.h>
#include <agg_scanline_u.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using PixFmt = agg::pixfmt_rgba32_pre;
using Base = agg::renderer_base<PixFmt>;
using Solid = agg::renderer_scanline_aa_solid<Base>;

struct Rgb {
    uint8_t r, g, b;
    uint8_t a = 255;
};

constexpr Rgb hex(uint32_t v, uint8_t a = 255) { return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), a}; }

Rgb mix(Rgb a, Rgb b, double t)
{
    auto m = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

// The shared colours of the widget set.
const Rgb surface = hex(0x2e3236);
const Rgb surfaceHover = hex(0x373c41);
const Rgb surfacePressed = hex(0x25282b);
const Rgb ring = hex(0x464c52);
const Rgb ringHover = hex(0x5b6268);
const Rgb iconIdle = hex(0x8d959c);
const Rgb iconHover = hex(0xd3d8dc);
const Rgb iconPressed = hex(0xa7aeb4);
const Rgb accent = hex(0x3a8fd6);
const Rgb accentDark = hex(0x2a6fab);
const Rgb accentRing = hex(0x6db5ee);
const Rgb white = hex(0xf4f7f9);

// Pixels with premultiplied alpha, as AGG draws them.
struct Pixels {
    int width;
    int height;
    std::vector<uint8_t> data;

    bool save(const std::filesystem::path& path) const
    {
        std::vector<uint8_t> straight(data.size());
        for (size_t i = 0; i < data.size(); i += 4) {
            const unsigned a = data[i + 3];
            for (size_t c = 0; c < 3; ++c)
                straight[i + c] = a ? uint8_t(std::min(255u, (data[i + c] * 255u + a / 2) / a)) : 0;
            straight[i + 3] = uint8_t(a);
        }
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = png_uint_32(width);
        image.height = png_uint_32(height);
        image.format = PNG_FORMAT_RGBA;
        const bool ok = png_image_write_to_file(&image, path.c_str(), 0, straight.data(), width * 4, nullptr) != 0;
        png_image_free(&image);
        return ok;
    }
};

class Canvas {
public:
    Canvas(int w, int h)
        : width(w), height(h), pixels(size_t(w) * size_t(h) * 4, 0), buffer(pixels.data(), unsigned(w), unsigned(h), w * 4),
          pixfmt(buffer), base(pixfmt), solid(base)
    {
    }

    template <typename Path>
    void fill(Path& path, Rgb c)
    {
        rasterizer.reset();
        rasterizer.add_path(path);
        agg::rgba8 color(c.r, c.g, c.b, c.a);
        color.premultiply();
        solid.color(color);
        agg::render_scanlines(rasterizer, scanline, solid);
    }
    template <typename Path>
    void stroke(Path& path, double w, Rgb c)
    {
        agg::conv_stroke<Path> s(path);
        s.width(w);
        s.line_cap(agg::round_cap);
        s.line_join(agg::round_join);
        fill(s, c);
    }
    void circle(double cx, double cy, double r, Rgb c)
    {
        agg::ellipse e(cx, cy, r, r, 64);
        fill(e, c);
    }
    void ringAt(double cx, double cy, double r, double w, Rgb c)
    {
        agg::ellipse e(cx, cy, r - w / 2, r - w / 2, 64);
        stroke(e, w, c);
    }
    void roundRect(double x1, double y1, double x2, double y2, double radius, Rgb c)
    {
        agg::rounded_rect r(x1, y1, x2, y2, radius);
        r.normalize_radius();
        fill(r, c);
    }
    // A vertical gradient clipped to a rounded rectangle, drawn row by row.
    void gradientRoundRect(double x1, double y1, double x2, double y2, double radius, Rgb top, Rgb bottom)
    {
        for (int y = int(std::floor(y1)); y < int(std::ceil(y2)); ++y) {
            const double t = (y + 0.5 - y1) / std::max(1.0, y2 - y1);
            agg::rounded_rect r(x1, y1, x2, y2, radius);
            r.normalize_radius();
            rasterizer.reset();
            rasterizer.clip_box(0, y, width, y + 1);
            rasterizer.add_path(r);
            const Rgb c = mix(top, bottom, t);
            agg::rgba8 color(c.r, c.g, c.b, c.a);
            color.premultiply();
            solid.color(color);
            agg::render_scanlines(rasterizer, scanline, solid);
        }
        rasterizer.reset_clipping();
    }

    // Copies a part (for the parts of nine-part images).
    Pixels part(int x, int y, int w, int h) const
    {
        Pixels out{w, h, std::vector<uint8_t>(size_t(w) * size_t(h) * 4)};
        for (int row = 0; row < h; ++row)
            std::copy_n(pixels.data() + (size_t(y + row) * size_t(width) + size_t(x)) * 4, size_t(w) * 4,
                        out.data.data() + size_t(row) * size_t(w) * 4);
        return out;
    }
    Pixels all() const { return part(0, 0, width, height); }

    int width;
    int height;
    std::vector<uint8_t> pixels;

private:
    agg::rendering_buffer buffer;
    PixFmt pixfmt;
    Base base;
    Solid solid;
    agg::rasterizer_scanline_aa<> rasterizer;
    agg::scanline_u8 scanline;
};

std::filesystem::path outputFolder;
int written = 0;

void save(const Pixels& pixels, const std::string& name)
{
    const auto path = outputFolder / name;
    std::filesystem::create_directories(path.parent_path());
    if (!pixels.save(path)) {
        std::fprintf(stderr, "relay-drawimages: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    ++written;
}

void save(const Canvas& canvas, const std::string& name) { save(canvas.all(), name); }

// ---- Mode buttons (49 by 49): a round button with an arrow icon. ----------

struct ButtonLook {
    Rgb fillTop, fillBottom, ring, icon;
    double inset; // pressed buttons sit half a pixel deeper
};

void arrow(Canvas& c, double x1, double x2, double y, bool pointsRight, Rgb color, double head)
{
    agg::path_storage shaft;
    shaft.move_to(x1, y);
    shaft.line_to(x2, y);
    c.stroke(shaft, 2.6, color);
    const double tip = pointsRight ? x2 + 1.5 : x1 - 1.5;
    const double back = pointsRight ? tip - head : tip + head;
    agg::path_storage h;
    h.move_to(tip, y);
    h.line_to(back, y - head * 0.72);
    h.line_to(back, y + head * 0.72);
    h.close_polygon();
    c.fill(h, color);
}

void modeButton(const std::string& base, bool roundTrip)
{
    const ButtonLook looks[] = {
        {surfaceHover, surface, ring, iconIdle, 0},                          // Off
        {surfacePressed, surfacePressed, ring, iconPressed, 0.5},            // OffClick
        {mix(surfaceHover, white, 0.04), surfaceHover, ringHover, iconHover, 0}, // OffHover
        {accent, accentDark, accentRing, white, 0},                          // On
        {accentDark, accentDark, accent, mix(white, accent, 0.15), 0.5},     // OnClick
        {mix(accent, white, 0.12), accent, mix(accentRing, white, 0.3), white, 0}, // OnHover
    };
    const char* states[] = {"Off", "OffClick", "OffHover", "On", "OnClick", "OnHover"};
    for (int i = 0; i < 6; ++i) {
        const ButtonLook& look = looks[i];
        Canvas c(49, 49);
        const double cx = 24.5, cy = 24.5 + look.inset, r = 22.5;
        c.circle(cx, cy + 0.8, r, hex(0x000000, 70)); // soft drop shadow
        c.gradientRoundRect(cx - r, cy - r, cx + r, cy + r, r, look.fillTop, look.fillBottom);
        c.ringAt(cx, cy, r, 1.5, look.ring);
        if (roundTrip) {
            arrow(c, 15, 31, cy - 5, true, look.icon, 7);
            arrow(c, 18, 34, cy + 5, false, look.icon, 7);
        } else {
            arrow(c, 14, 31, cy, true, look.icon, 8);
            c.roundRect(12, cy - 7.5, 14.6, cy + 7.5, 1.2, look.icon); // the clip the audio leaves
        }
        save(c, base + states[i] + ".png");
    }
}

// ---- Small push buttons: four states each. ---------------------------------

const char* pushStates[] = {"Normal", "Pressed", "MouseOverNormal", "MouseOverPressed"};

void closeButton(const std::string& base, Rgb fill, Rgb fillHover, Rgb cross)
{
    const Rgb fills[] = {fill, mix(fill, hex(0x000000), 0.25), fillHover, mix(fillHover, hex(0x000000), 0.2)};
    const Rgb crosses[] = {cross, mix(cross, fill, 0.25), mix(cross, white, 0.5), cross};
    for (int i = 0; i < 4; ++i) {
        Canvas c(13, 13);
        c.circle(6.5, 6.5, 6.5, fills[i]);
        agg::path_storage x;
        x.move_to(4.2, 4.2);
        x.line_to(8.8, 8.8);
        x.move_to(8.8, 4.2);
        x.line_to(4.2, 8.8);
        c.stroke(x, 1.5, crosses[i]);
        save(c, base + pushStates[i] + ".png");
    }
}

void trashButton(const std::string& base)
{
    const Rgb colors[] = {iconIdle, mix(iconIdle, hex(0x000000), 0.2), iconHover, iconPressed};
    for (int i = 0; i < 4; ++i) {
        Canvas c(21, 22);
        const Rgb ink = colors[i];
        const double dy = (i == 1 || i == 3) ? 0.5 : 0;
        agg::path_storage lid;
        lid.move_to(3.5, 5.5 + dy);
        lid.line_to(17.5, 5.5 + dy);
        c.stroke(lid, 1.6, ink);
        agg::rounded_rect handle(8, 2.2 + dy, 13, 5.6 + dy, 1.2);
        c.stroke(handle, 1.4, ink);
        agg::path_storage body;
        body.move_to(5.2, 7.6 + dy);
        body.line_to(6.3, 19.2 + dy);
        body.line_to(14.7, 19.2 + dy);
        body.line_to(15.8, 7.6 + dy);
        c.stroke(body, 1.6, ink);
        agg::path_storage ribs;
        for (double x : {8.6, 10.5, 12.4}) {
            ribs.move_to(x, 10 + dy);
            ribs.line_to(x, 16.6 + dy);
        }
        c.stroke(ribs, 1.1, ink);
        save(c, base + pushStates[i] + ".png");
    }
}

void helpButton(const std::string& base)
{
    const Rgb rings[] = {ring, surfacePressed, ringHover, ring};
    const Rgb inks[] = {iconIdle, iconPressed, iconHover, iconHover};
    const Rgb fills[] = {surface, surfacePressed, surfaceHover, surfacePressed};
    for (int i = 0; i < 4; ++i) {
        Canvas c(20, 20);
        c.circle(10, 10, 9.5, fills[i]);
        c.ringAt(10, 10, 9.5, 1.2, rings[i]);
        agg::path_storage q; // the question mark: a hook and a dot
        q.move_to(7.2, 7.6);
        q.curve4(7.2, 4.6, 12.8, 4.6, 12.8, 7.6);
        q.curve4(12.8, 9.6, 10, 9.6, 10, 12.2);
        agg::conv_curve<agg::path_storage> curve(q);
        c.stroke(curve, 1.8, inks[i]);
        c.circle(10, 15, 1.2, inks[i]);
        save(c, base + pushStates[i] + ".png");
    }
}

// ---- Waveform strips. -------------------------------------------------------

// A deterministic, speech-like envelope in [0.08, 1].
double envelope(int x, int seed)
{
    const double t = x * 0.021 + seed;
    double e = 0.55 + 0.25 * std::sin(t * 1.7) + 0.18 * std::sin(t * 4.3 + 1.1) + 0.1 * std::sin(t * 11.9 + 0.3);
    uint32_t h = uint32_t(x) * 2654435761u + uint32_t(seed) * 40503u;
    h ^= h >> 13;
    h *= 2246822519u;
    h ^= h >> 16;
    e += ((h & 0xFF) / 255.0 - 0.5) * 0.35;
    return std::clamp(e, 0.08, 1.0);
}

// Bars three pixels wide every four pixels, so that any multiple of four cuts cleanly.
void waveformStrip(const std::string& name, Rgb color)
{
    Canvas c(428, 24);
    for (int x = 0; x + 3 <= 428; x += 4) {
        const double half = 1.0 + envelope(x, 3) * 10.0;
        c.roundRect(x, 12 - half, x + 3, 12 + half, 1.2, color);
    }
    save(c, name);
}

// A wide, faded waveform behind the empty clip list.
void waveformGradient(const std::string& name)
{
    Canvas c(449, 110);
    for (int x = 2; x + 3 <= 447; x += 4) {
        const double edge = std::sin(M_PI * (x + 1.5) / 449.0); // fades out at both ends
        const double half = 3.0 + envelope(x, 11) * 38.0 * edge;
        const uint8_t alpha = uint8_t(20 + 60 * edge);
        c.roundRect(x, 55 - half, x + 3, 55 + half, 1.4, hex(0x5a6168, alpha));
    }
    save(c, name);
}

// ---- Panels. ----------------------------------------------------------------

void ninePartPopover()
{
    Canvas master(17, 17);
    master.roundRect(0, 0, 17, 17, 6, hex(0x4b5157));
    master.gradientRoundRect(1, 1, 16, 16, 5, hex(0x3a3f44), hex(0x33373c));
    struct Part { const char* name; int x, y, w, h; };
    const Part parts[] = {
        {"TopLeft", 0, 0, 8, 8}, {"Top", 8, 0, 1, 8}, {"TopRight", 9, 0, 8, 8},
        {"Left", 0, 8, 8, 1}, {"Center", 8, 8, 1, 1}, {"Right", 9, 8, 8, 1},
        {"BottomLeft", 0, 9, 8, 8}, {"Bottom", 8, 9, 1, 8}, {"BottomRight", 9, 9, 8, 8},
    };
    for (const Part& p : parts)
        save(master.part(p.x, p.y, p.w, p.h), std::string("png/PopoverBackground_") + p.name + ".png");
}

void controlBackground()
{
    Canvas c(16, 16);
    c.roundRect(0, 0, 16, 16, 5, hex(0x33373b));
    c.gradientRoundRect(1, 1, 15, 15, 4, hex(0x1a1c1f), hex(0x1d2023));
    save(c, "png/ControlBackground.png");
}

void scrollBar()
{
    Canvas track(8, 16);
    track.roundRect(0, 0, 8, 16, 4, hex(0x23262a));
    save(track, "png/ScrollBar_Track.png");
    Canvas thumb(8, 16);
    thumb.roundRect(1, 0, 7, 16, 3, hex(0x52585e));
    save(thumb, "png/ScrollBar_Thumb.png");
    Canvas thumbHover(8, 16);
    thumbHover.roundRect(1, 0, 7, 16, 3, hex(0x6b7278));
    save(thumbHover, "png/ScrollBar_ThumbHover.png");
}

void backgroundTexture()
{
    Canvas c(32, 32);
    uint32_t state = 12345;
    for (size_t i = 0; i < c.pixels.size(); i += 4) {
        state = state * 1664525u + 1013904223u;
        const int n = int(state >> 29) - 3; // -3 .. 4
        c.pixels[i] = uint8_t(0x27 + n);
        c.pixels[i + 1] = uint8_t(0x2a + n);
        c.pixels[i + 2] = uint8_t(0x2d + n);
        c.pixels[i + 3] = 255;
    }
    save(c, "png/BackgroundTexture.png");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: relay-drawimages <output folder>\n");
        return 2;
    }
    outputFolder = argv[1];
    modeButton("png/buttonOneWay", false);
    modeButton("png/buttonRoundTrip", true);
    closeButton("png/CloseButtonLight", hex(0x50565c), hex(0x646b72), hex(0xe4e8eb));
    closeButton("png/CloseButton", hex(0x2c3034), hex(0x3a3f44), hex(0xa3aab0));
    trashButton("png/ShuttleTrash");
    helpButton("png/ShuttleHelp");
    waveformStrip("png/TW_Relay_Waveform_Gray.png", hex(0x6b6b6b));
    waveformStrip("png/TW_Relay_Waveform_Blue.png", accent);
    waveformGradient("png/TW_Relay_Waveform_Gradient.png");
    ninePartPopover();
    controlBackground();
    scrollBar();
    backgroundTexture();
    std::printf("relay-drawimages: %d images\n", written);
    return 0;
}
