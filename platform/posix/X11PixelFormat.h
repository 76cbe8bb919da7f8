#pragma once
#include <cstdint>

namespace Platform {

// How a TrueColor visual packs red, green and blue into a pixel value.
class X11PixelFormat {
public:
    X11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask)
        : red_(channel(redMask)), green_(channel(greenMask)), blue_(channel(blueMask))
    {
    }

    uint32_t pack(uint8_t r, uint8_t g, uint8_t b) const { return red_.pack(r) | green_.pack(g) | blue_.pack(b); }
    void unpack(uint32_t pixel, uint8_t& r, uint8_t& g, uint8_t& b) const
    {
        r = red_.unpack(pixel);
        g = green_.unpack(pixel);
        b = blue_.unpack(pixel);
    }

private:
    struct Channel {
        int shift = 0;
        int bits = 8;
        uint32_t pack(uint8_t v) const { return bits >= 8 ? uint32_t(v) << shift : uint32_t(v >> (8 - bits)) << shift; }
        uint8_t unpack(uint32_t p) const
        {
            const uint32_t v = (p >> shift) & ((1u << bits) - 1);
            return bits >= 8 ? uint8_t(v >> (bits - 8)) : uint8_t(v * 255 / ((1u << bits) - 1));
        }
    };
    static Channel channel(unsigned long mask)
    {
        Channel c;
        if (mask == 0)
            return c;
        while (!(mask & 1)) {
            mask >>= 1;
            ++c.shift;
        }
        c.bits = 0;
        while (mask & 1) {
            mask >>= 1;
            ++c.bits;
        }
        return c;
    }
    Channel red_, green_, blue_;
};

} // namespace Platform
