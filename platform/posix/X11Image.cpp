#include "platform/posix/X11Image.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>

namespace Platform::Posix {

X11Image::X11Image(Display* display, Visual* visual, int depth, int width, int height)
    : format_(visual->red_mask, visual->green_mask, visual->blue_mask), width_(std::max(0, width)),
      height_(std::max(0, height))
{
    if (visual->c_class != TrueColor || depth < 24 || width_ == 0 || height_ == 0)
        return;
    // XDestroyImage frees the pixel memory with free().
    char* data = static_cast<char*>(std::calloc(size_t(width_) * size_t(height_), 4));
    if (!data)
        return;
    image_ = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, data, unsigned(width_), unsigned(height_), 32, 0);
    if (!image_)
        std::free(data);
}

X11Image::~X11Image()
{
    if (image_)
        XDestroyImage(image_);
}

X11Image::Area X11Image::copyFrom(const uint8_t* rgba, int stride, int x, int y, int width, int height)
{
    Area area;
    if (!image_)
        return area;
    area.x = std::max(0, x);
    area.y = std::max(0, y);
    area.width = std::min(x + width, width_) - area.x;
    area.height = std::min(y + height, height_) - area.y;
    if (area.empty())
        return area;
    for (int row = area.y; row < area.y + area.height; ++row) {
        const uint8_t* from = rgba + size_t(row) * size_t(stride) + size_t(area.x) * 4;
        auto* to = reinterpret_cast<uint32_t*>(image_->data + size_t(row) * size_t(image_->bytes_per_line)) + area.x;
        for (int i = 0; i < area.width; ++i, from += 4)
            to[i] = format_.pack(from[0], from[1], from[2]);
    }
    return area;
}

void X11Image::put(Display* display, Drawable drawable, GC gc, const Area& area) const
{
    if (image_ && !area.empty())
        XPutImage(display, drawable, gc, image_, area.x, area.y, area.x, area.y, unsigned(area.width),
                  unsigned(area.height));
}

} // namespace Platform::Posix
