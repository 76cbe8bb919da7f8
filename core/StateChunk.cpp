#include "core/StateChunk.h"

#include <cstring>
#include <zlib.h>

namespace {

// The zlib states are kept between chunks: making a deflate state (a quarter
// megabyte, its hash table cleared) costs more than compressing a whole state.
// One of each per thread, so instances on the same thread share them; the
// output is what compress2 gives.
class Deflater {
public:
    Deflater() { ready_ = deflateInit(&stream_, Z_DEFAULT_COMPRESSION) == Z_OK; }
    ~Deflater()
    {
        if (ready_)
            deflateEnd(&stream_);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // One whole stream of `text` into `out`; the bytes written, or nothing.
    std::optional<size_t> compress(const Util::String& text, uint8_t* out, size_t room)
    {
        if (!ready_ || deflateReset(&stream_) != Z_OK)
            return std::nullopt;
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        stream_.avail_in = uInt(text.size());
        stream_.next_out = out;
        stream_.avail_out = uInt(room);
        if (deflate(&stream_, Z_FINISH) != Z_STREAM_END)
            return std::nullopt;
        return size_t(stream_.total_out);
    }

private:
    z_stream stream_{};
    bool ready_ = false;
};

class Inflater {
public:
    Inflater() { ready_ = inflateInit(&stream_) == Z_OK; }
    ~Inflater()
    {
        if (ready_)
            inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // True when `in` begins with one whole stream that fills `out` exactly.
    bool uncompress(const uint8_t* in, size_t size, char* out, size_t length)
    {
        if (!ready_ || inflateReset(&stream_) != Z_OK)
            return false;
        stream_.next_in = const_cast<Bytef*>(in);
        stream_.avail_in = uInt(size);
        stream_.next_out = reinterpret_cast<Bytef*>(out);
        stream_.avail_out = uInt(length);
        return inflate(&stream_, Z_FINISH) == Z_STREAM_END && stream_.total_out == length;
    }

private:
    z_stream stream_{};
    bool ready_ = false;
};

} // namespace

std::vector<uint8_t> StateChunk::pack(const Util::String& text)
{
    thread_local Deflater deflater;
    const uLong bound = compressBound(uLong(text.size()));
    std::vector<uint8_t> chunk(4 + bound);
    const uint32_t length = uint32_t(text.size());
    std::memcpy(chunk.data(), &length, 4);
    const auto compressed = deflater.compress(text, chunk.data() + 4, bound);
    if (!compressed)
        return {};
    chunk.resize(4 + *compressed);
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
    thread_local Inflater inflater;
    Util::String text(length, '\0');
    if (!inflater.uncompress(chunk + 4, size - 4, text.data(), length))
        return std::nullopt;
    return text;
}
