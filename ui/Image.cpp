#include "ui/Image.h"

#include <png.h>

#include <fstream>
#include <iterator>

namespace UI {

namespace {

uint8_t premultiply(uint8_t c, uint8_t a) { return uint8_t((c * a + 127) / 255); }
uint8_t unpremultiply(uint8_t c, uint8_t a) { return a == 0 ? 0 : uint8_t(std::min(255, (c * 255 + a / 2) / a)); }

// libpng's simplified interface keeps its state in this record; the destructor
// frees it on every path, so no setjmp/longjmp crosses our frames.
struct PngImageRecord {
    png_image image{};
    PngImageRecord()
    {
        image.version = PNG_IMAGE_VERSION;
    }
    ~PngImageRecord() { png_image_free(&image); }
};

} // namespace

Image::Image(int width, int height, Color fill)
    : width_(std::max(0, width)), height_(std::max(0, height)), pixels_(size_t(width_) * size_t(height_) * 4)
{
    this->fill(fill);
}

void Image::fill(Color color)
{
    const uint8_t px[4] = {premultiply(color.r, color.a), premultiply(color.g, color.a),
                           premultiply(color.b, color.a), color.a};
    for (size_t i = 0; i < pixels_.size(); i += 4)
        std::copy(px, px + 4, pixels_.begin() + std::ptrdiff_t(i));
}

Color Image::pixel(int x, int y) const
{
    const uint8_t* p = row(y) + x * 4;
    return {unpremultiply(p[0], p[3]), unpremultiply(p[1], p[3]), unpremultiply(p[2], p[3]), p[3]};
}

std::optional<Image> Image::decodePng(std::span<const uint8_t> bytes)
{
    PngImageRecord record;
    if (!png_image_begin_read_from_memory(&record.image, bytes.data(), bytes.size()))
        return std::nullopt;
    record.image.format = PNG_FORMAT_RGBA;
    Image result(int(record.image.width), int(record.image.height));
    if (!png_image_finish_read(&record.image, nullptr, result.data(), result.stride(), nullptr))
        return std::nullopt;
    for (size_t i = 0; i < result.pixels_.size(); i += 4) {
        const uint8_t a = result.pixels_[i + 3];
        for (size_t c = 0; c < 3; ++c)
            result.pixels_[i + c] = premultiply(result.pixels_[i + c], a);
    }
    return result;
}

std::optional<Image> Image::loadPng(const Util::String& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodePng(bytes);
}

std::vector<uint8_t> Image::encodePng() const
{
    std::vector<uint8_t> straight(pixels_.size());
    for (size_t i = 0; i < pixels_.size(); i += 4) {
        const uint8_t a = pixels_[i + 3];
        for (size_t c = 0; c < 3; ++c)
            straight[i + c] = unpremultiply(pixels_[i + c], a);
        straight[i + 3] = a;
    }
    PngImageRecord record;
    record.image.width = png_uint_32(width_);
    record.image.height = png_uint_32(height_);
    record.image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&record.image, nullptr, &size, 0, straight.data(), stride(), nullptr))
        return {};
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&record.image, out.data(), &size, 0, straight.data(), stride(), nullptr))
        return {};
    out.resize(size);
    return out;
}

bool Image::savePng(const Util::String& path) const
{
    const auto bytes = encodePng();
    if (bytes.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace UI
