#pragma once
#include "audio/BadFormatError.h"
#include "audio/Format.h"
#include "audio/Marker.h"

#include <optional>
#include <string_view>
#include <vector>

namespace Audio::Decode {

// Reads one audio file: Sync opens and parses it, then frames are read from
// the current position, converted as asked, and the file's other chunks are
// listed in a directory. Each operation answers its result or an error;
// nothing throws.
//
// Threads: Sync, the chunk and marker operations and Close open, read and
// close files ([any-thread]). After Sync, Seek and the sample reads allocate
// nothing and may run on the audio thread ([audio-thread]); only a failure
// makes an error message.
class Stream {
public:
    // One chunk other than "fmt " and "data", in file order.
    struct ChunkInfo {
        uint32_t id = 0;   // as from Audio::chunkId
        bool kept = false; // its bytes are held in memory since Sync
    };

    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual int GetStreamKind() const = 0;
    // Opens and parses the file; later calls answer the format found.
    virtual Outcome<Format> Sync() = 0;
    virtual Status Sync(Format& format) = 0;
    virtual const Format& GetFormat() const = 0;
    virtual uint64_t GetTotalFrames() const = 0;
    // Whether the data chunk claimed more bytes than the file holds.
    virtual bool IsTruncated() const = 0;
    virtual uint64_t GetPosition() const = 0;
    virtual uint64_t GetFramesRemaining() const = 0;
    // The total itself is a valid position (the end).
    virtual Status Seek(uint64_t frame) = 0;
    // Each read reads up to the frames remaining and answers how many it read.
    virtual Outcome<size_t> ReadFloatInterleaved(size_t frames, float* samples) = 0;
    virtual Outcome<size_t> ReadDoubleInterleaved(size_t frames, double* samples) = 0;
    virtual Outcome<size_t> ReadFloatDeinterleaved(size_t frames, float* const* channels) = 0;
    virtual Outcome<size_t> ReadInt16Deinterleaved(size_t frames, int16_t* const* channels) = 0;
    virtual Outcome<size_t> ReadInt16Interleaved(size_t frames, int16_t* samples) = 0;
    virtual Outcome<size_t> ReadRawInterleaved(size_t frames, void* bytes) = 0;
    virtual size_t GetChunkCount() const = 0;
    virtual std::optional<ChunkInfo> GetChunkInfo(size_t index) const = 0;
    virtual Status ReadChunk(size_t index, std::vector<uint8_t>& bytes) = 0;
    virtual bool HasChunk(uint32_t id) const = 0;
    // False when there is no such chunk.
    virtual Outcome<bool> ReadChunkById(uint32_t id, std::vector<uint8_t>& bytes) = 0;
    virtual Outcome<bool> ReadChunkById(std::string_view id, std::vector<uint8_t>& bytes) = 0;
    // The cue points with their labels, notes and region lengths.
    virtual Status GetMarkers(std::vector<Marker>& markers) = 0;
    virtual void Close() = 0;
    virtual ~Stream() = default;
};

} // namespace Audio::Decode
