#pragma once
#include "audio/EncodeStream.h"
#include "audio/SampleCodec.h"
#include "io/File.h"

#include <optional>

namespace Audio::Encode::WAV {

// Writes a RIFF WAVE file: the plain 16-byte format chunk for 8- and 16-bit,
// 24-bit integer and 32-bit samples of one or two channels, the 40-byte
// extensible one otherwise; then "data" with the samples (and a pad byte when
// odd), then any marker chunks and chunks given to WriteChunk. Sizes are
// patched in by Finish, 0xFFFFFFFF when they do not fit in 32 bits.
//
// Floats and doubles become 16-bit, 24-bit or 32-bit integers or 32-bit floats
// (doubles also 64-bit floats) as the format says; see SampleCodec.h for the
// rounding. Sample writes after BeginWriting allocate nothing.
class Encoder final : public Stream {
public:
    Encoder(Util::String path, const Format& format); // opens nothing yet
    ~Encoder() override;                              // finishes an open file

    const Util::String& GetPath() const override { return file_.GetPath(); }
    const Format& GetFormat() const override { return format_; }
    Status BeginWriting() override;
    Status WriteFloatDeinterleaved(size_t frames, const float* const* channels) override;
    Status WriteFloatInterleaved(size_t frames, const float* samples) override;
    Status WriteRawInterleaved(size_t frames, const void* bytes) override;
    Status WriteMarkers(const std::vector<Marker>& markers) override;
    Status WriteChunk(uint32_t id, const std::vector<uint8_t>& bytes) override;
    Status WriteChunk(std::string_view id, uint32_t size, const void* bytes) override;
    Status WriteChunk(std::string_view id, const std::vector<uint8_t>& bytes) override;
    Status WriteChunk(uint32_t id, uint32_t size, const void* bytes) override;
    Status Finish() override;
    virtual Status WriteDoubleDeinterleaved(size_t frames, const double* const* channels);
    virtual Status WriteDoubleInterleaved(size_t frames, const double* samples);

    // After a write or Finish that failed (a full disk, a file-size limit):
    // keeps the whole frames that reached the disk, cuts what follows them,
    // patches the RIFF and data sizes to them and closes the file, which then
    // reads as a complete, shorter file. Answers the frames kept; a file whose
    // header never reached the disk is removed, keeping 0.
    Outcome<uint64_t> Salvage();

    uint64_t GetFramesWritten() const { return framesWritten_.value_or(0); }
    // Whether the format needs the 40-byte extensible format chunk.
    static bool UsesExtensibleFormat(const Format& format);

private:
    Status writeHeader();
    Status beginData();
    Status endData();
    Status patchSize(const std::optional<uint64_t>& position, uint64_t size);
    Outcome<std::optional<uint64_t>> keepFramesOnDisk();
    // Converts and writes `frames` frames block by block; `convert(first, count, out)`
    // fills the conversion buffer with `count` frames starting at frame `first`.
    template <typename Convert>
    Status writeConverted(size_t frames, Convert&& convert);
    template <typename T>
    Status writeInterleaved(size_t frames, const T* samples);
    template <typename T>
    Status writeDeinterleaved(size_t frames, const T* const* channels);
    Status writeFrames(size_t frames, const void* bytes);
    Error unsupported(size_t frames) const;

    Format format_;
    SampleCodec::Encoding encoding_;
    Util::File file_;
    bool writingData_ = false;
    bool finished_ = false;
    std::optional<uint64_t> framesWritten_;
    std::optional<uint64_t> riffSizePosition_;
    std::optional<uint64_t> dataSizePosition_;
    std::vector<uint8_t> conversion_;
    size_t blockFrames_ = 0;
};

} // namespace Audio::Encode::WAV
