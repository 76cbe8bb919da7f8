#pragma once
#include "audio/EncodeError.h"
#include "audio/Format.h"
#include "audio/Marker.h"

#include <string_view>
#include <vector>

namespace Audio::Encode {

// Writes one audio file: a header when writing begins, sample frames as they
// arrive, then chunks after the samples, and finally the sizes patched in.
// Each operation answers success or the first error it met; nothing throws.
//
// Threads: construction, BeginWriting, WriteMarkers, WriteChunk and Finish run
// where the file may be opened and closed ([any-thread]). After BeginWriting
// the sample writes allocate nothing and may run on the audio thread
// ([audio-thread]); only a failure makes an error message.
class Stream {
public:
    Stream() = default;
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual int GetStreamKind() const { return 0; }
    virtual const Util::String& GetPath() const = 0;
    virtual const Format& GetFormat() const = 0;
    virtual Status BeginWriting() = 0;
    // One pointer per channel, each with `frames` samples.
    virtual Status WriteFloatDeinterleaved(size_t frames, const float* const* channels) = 0;
    virtual Status WriteFloatInterleaved(size_t frames, const float* samples) = 0;
    // Bytes already in the file's sample format, frames × channels × bytes per sample.
    virtual Status WriteRawInterleaved(size_t frames, const void* bytes) = 0;
    // Ends the samples, then writes the "cue " and "LIST"/"adtl" chunks.
    virtual Status WriteMarkers(const std::vector<Marker>& markers) = 0;
    virtual Status WriteChunk(uint32_t id, const std::vector<uint8_t>& bytes) = 0;
    virtual Status WriteChunk(std::string_view id, uint32_t size, const void* bytes) = 0;
    virtual Status WriteChunk(std::string_view id, const std::vector<uint8_t>& bytes) = 0;
    // Ends the samples, then appends the chunk (id as from Audio::chunkId) and
    // a pad byte when its size is odd.
    virtual Status WriteChunk(uint32_t id, uint32_t size, const void* bytes) = 0;
    // Ends the samples, patches the size fields and closes the file.
    virtual Status Finish() = 0;
    virtual ~Stream() = default;
};

} // namespace Audio::Encode
