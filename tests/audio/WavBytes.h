#pragma once
// Byte arrays of RIFF files for tests, written field by field, little-endian.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace TestSupport {

class WavBytes {
public:
    WavBytes() = default;

    WavBytes& text(std::string_view s)
    {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        return *this;
    }
    WavBytes& u8(uint8_t v) { return put(v, 1); }
    WavBytes& u16(uint16_t v) { return put(v, 2); }
    WavBytes& u32(uint32_t v) { return put(v, 4); }
    WavBytes& u64(uint64_t v) { return put(v, 8); }
    WavBytes& zeros(size_t n)
    {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    WavBytes& append(const WavBytes& other)
    {
        bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
        return *this;
    }
    // A chunk whose size field is the body's size, with a pad byte when odd.
    WavBytes& chunk(std::string_view id, const WavBytes& body) { return chunk(id, uint32_t(body.size()), body); }
    // A chunk whose size field says `claimedSize`, whatever the body holds.
    WavBytes& chunk(std::string_view id, uint32_t claimedSize, const WavBytes& body)
    {
        text(id).u32(claimedSize).append(body);
        if (body.size() % 2)
            u8(0);
        return *this;
    }

    size_t size() const { return bytes_.size(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::string str() const { return std::string(bytes_.begin(), bytes_.end()); }

private:
    WavBytes& put(uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes_.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    std::vector<uint8_t> bytes_;
};

// The 16-byte body of a plain format chunk.
inline WavBytes formatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    const uint16_t align = uint16_t(channels * ((bits + 7) / 8));
    return WavBytes().u16(tag).u16(channels).u32(rate).u32(rate * align).u16(align).u16(bits);
}

// The 40-byte body of an extensible format chunk; sub-format 1 (PCM) or 3 (float).
inline WavBytes extensibleBody(uint16_t channels, uint16_t bits, uint32_t mask, uint32_t subFormat)
{
    return formatBody(0xFFFE, channels, 48000, bits)
        .u16(22).u16(bits).u32(mask).u32(subFormat).u16(0).u16(0x0010)
        .u8(0x80).u8(0x00).u8(0x00).u8(0xAA).u8(0x00).u8(0x38).u8(0x9B).u8(0x71);
}

// "RIFF", the size of what follows, "WAVE", then the chunks.
inline WavBytes riffFile(const WavBytes& chunks, std::string_view form = "RIFF")
{
    return WavBytes().text(form).u32(uint32_t(chunks.size() + 4)).text("WAVE").append(chunks);
}

} // namespace TestSupport
