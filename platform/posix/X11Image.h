#pragma once
#include "platform/posix/X11PixelFormat.h"

#include <X11/Xlib.h>

#include <cstdint>

namespace Platform::Posix {

// A client-side image in a TrueColor visual's pixel format, 32 bits a pixel
// (a 24- or 32-bit visual), as large as the window it is shown in. Pixels
// drawn as 8-bit RGBA are packed into it, then put on the window.
// [any-thread] for the thread that owns the display connection
class X11Image {
public:
    // A part of the image, clamped to its size; empty when nothing is left.
    struct Area {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool empty() const { return width <= 0 || height <= 0; }
    };

    X11Image(Display* display, Visual* visual, int depth, int width, int height);
    ~X11Image();
    X11Image(const X11Image&) = delete;
    X11Image& operator=(const X11Image&) = delete;

    // False when the image could not be made (no memory, an unsupported visual).
    bool valid() const { return image_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Packs the part (x, y, width, height) of opaque RGBA pixels (`stride`
    // bytes a row, as large as this image) into the same place; answers the
    // part that lies inside the image.
    Area copyFrom(const uint8_t* rgba, int stride, int x, int y, int width, int height);
    // Shows that part of the image at the same place in `drawable`.
    void put(Display* display, Drawable drawable, GC gc, const Area& area) const;

private:
    XImage* image_ = nullptr;
    X11PixelFormat format_;
    int width_;
    int height_;
};

} // namespace Platform::Posix
