#pragma once
#include "ui/Color.h"
#include "ui/Geometry.h"
#include "util/Text.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace UI {

// An RGBA image, 8 bits a channel, rows top to bottom. Pixels are stored with
// premultiplied alpha, the form the renderer blends in; PNG files hold straight
// alpha and are converted on the way in and out. An image is a plain value:
// [any-thread] for the thread that owns it.
class Image {
public:
    Image() = default;
    Image(int width, int height, Color fill = {0, 0, 0, 0});

    static std::optional<Image> decodePng(std::span<const uint8_t> bytes);
    static std::optional<Image> loadPng(const Util::String& path);
    std::vector<uint8_t> encodePng() const;
    bool savePng(const Util::String& path) const;

    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return width_ * 4; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    Rect bounds() const { return Rect::fromSize(0, 0, width_, height_); }

    uint8_t* data() { return pixels_.data(); }
    const uint8_t* data() const { return pixels_.data(); }
    uint8_t* row(int y) { return pixels_.data() + size_t(y) * size_t(stride()); }
    const uint8_t* row(int y) const { return pixels_.data() + size_t(y) * size_t(stride()); }

    // The pixel with straight alpha.
    Color pixel(int x, int y) const;
    void fill(Color color);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> pixels_;
};

} // namespace UI
