#include "core/StateChunk.h"

#include <cstring>
#include <zlib.h>

std::vector<uint8_t> StateChunk::pack(const Util::String& text)
{
    uLongf compressedSize = compressBound(uLong(text.size()));
    std::vector<uint8_t> chunk(4 + compressedSize);
    const uint32_t length = uint32_t(text.size());
    std::memcpy(chunk.data(), &length, 4);
    if (compress2(chunk.data() + 4, &compressedSize, reinterpret_cast<const Bytef*>(text.data()), uLong(text.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    chunk.resize(4 + compressedSize);
    return chunk;
}

std::optional<Util::String> StateChunk::unpack(const uint8_t* chunk, size_t size)
{
    if (!chunk || size < 4)
        return std::nullopt;
    uint32_t length = 0;
    std::memcpy(&length, chunk, 4);
    // zlib cannot expand data by more than about 1032 times.
    if (length > MaxTextBytes || uint64_t(length) > uint64_t(size - 4) * 1032u + 64u)
        return std::nullopt;
    Util::String text(length, '\0');
    uLongf produced = length;
    uLong consumed = uLong(size - 4);
    const int status = uncompress2(reinterpret_cast<Bytef*>(text.data()), &produced, chunk + 4, &consumed);
    if (status != Z_OK || produced != length)
        return std::nullopt;
    return text;
}
