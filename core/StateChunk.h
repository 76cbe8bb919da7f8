#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "util/Text.h"

// The state chunk the host keeps: a little-endian u32 with the length of the
// state text, then the text compressed as one zlib stream (default level).
// [any-thread]
class StateChunk {
public:
    // Texts above this are refused on reading: far more than any state we write,
    // so a lying length word never makes us allocate gigabytes.
    static constexpr uint32_t MaxTextBytes = 64u << 20;

    static std::vector<uint8_t> pack(const Util::String& text);
    // The text, or nothing when the chunk is short, does not decompress, or does
    // not decompress to exactly the length its first word gives.
    static std::optional<Util::String> unpack(const uint8_t* chunk, size_t size);
};
