#pragma once
#include <cstdint>
#include <string_view>

namespace Audio {

// A RIFF chunk id as a 32-bit number whose high byte is the first character:
// chunkId("data") == 0x64617461. Ids shorter than four characters are padded
// with spaces. In a file the characters stand in reading order (big-endian).
constexpr uint32_t chunkId(std::string_view id)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = (value << 8) | uint8_t(i < id.size() ? id[i] : ' ');
    return value;
}

inline void storeChunkId(uint8_t* bytes, uint32_t id)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(id >> (24 - 8 * i));
}

inline uint32_t loadChunkId(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

} // namespace Audio
