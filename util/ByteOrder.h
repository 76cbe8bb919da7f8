#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace Util {

// Byte orders of streams and files: 0 and 1 keep the machine's little-endian
// order, any other value reverses every multi-byte value.
inline constexpr uint32_t kByteOrderLittleEndian = 1;
inline constexpr uint32_t kByteOrderReversed = 2;

template <typename T>
T reverseBytes(T value)
{
    static_assert(std::is_trivially_copyable_v<T> && (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8));
    if constexpr (sizeof(T) == 1) {
        return value;
    } else {
        using Bits = std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>;
        Bits bits = std::bit_cast<Bits>(value);
        if constexpr (sizeof(T) == 2)
            bits = __builtin_bswap16(bits);
        else if constexpr (sizeof(T) == 4)
            bits = __builtin_bswap32(bits);
        else
            bits = __builtin_bswap64(bits);
        return std::bit_cast<T>(bits);
    }
}

// The value as stored (or read) in byte order `order`.
template <typename T>
T orderBytes(T value, uint32_t order)
{
    return order <= kByteOrderLittleEndian ? value : reverseBytes(value);
}

// Little-endian fields of file formats, from or into unaligned bytes.
template <typename T>
T loadLittleEndian(const uint8_t* bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        value = reverseBytes(value);
    return value;
}

template <typename T>
void storeLittleEndian(uint8_t* bytes, T value)
{
    if constexpr (std::endian::native == std::endian::big)
        value = reverseBytes(value);
    std::memcpy(bytes, &value, sizeof value);
}

} // namespace Util
