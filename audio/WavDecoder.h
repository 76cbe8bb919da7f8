#pragma once
#include "audio/DecodeStream.h"
#include "audio/SampleCodec.h"
#include "io/File.h"

namespace Audio::Decode::WAV {

// Reads RIFF WAVE and RF64 WAVE files: 8-bit unsigned, 16-, 24- and 32-bit
// integer and 32-bit float samples, in the plain or the extensible format.
// The chunk walk checks every size against the bytes left: a data chunk that
// runs past the end is cut to it (IsTruncated), any other such chunk ends the
// walk. A "bext" chunk is kept in memory. No allocation is ever larger than
// the file, and after Sync the sample reads allocate nothing.
class Decoder final : public Stream {
public:
    explicit Decoder(Util::String path); // reads nothing yet
    ~Decoder() override;

    const Util::String& GetPath() const { return file_.GetPath(); }

    int GetStreamKind() const override { return 2; }
    Outcome<Format> Sync() override;
    Status Sync(Format& format) override;
    const Format& GetFormat() const override { return format_; }
    uint64_t GetTotalFrames() const override { return totalFrames_; }
    bool IsTruncated() const override { return truncated_; }
    uint64_t GetPosition() const override { return currentFrame_; }
    uint64_t GetFramesRemaining() const override { return synced_ ? totalFrames_ - currentFrame_ : 0; }
    Status Seek(uint64_t frame) override;
    Outcome<size_t> ReadFloatInterleaved(size_t frames, float* samples) override;
    Outcome<size_t> ReadDoubleInterleaved(size_t frames, double* samples) override;
    Outcome<size_t> ReadFloatDeinterleaved(size_t frames, float* const* channels) override;
    Outcome<size_t> ReadInt16Deinterleaved(size_t frames, int16_t* const* channels) override;
    Outcome<size_t> ReadInt16Interleaved(size_t frames, int16_t* samples) override;
    Outcome<size_t> ReadRawInterleaved(size_t frames, void* bytes) override;
    size_t GetChunkCount() const override { return chunks_.size(); }
    std::optional<ChunkInfo> GetChunkInfo(size_t index) const override;
    Status ReadChunk(size_t index, std::vector<uint8_t>& bytes) override;
    bool HasChunk(uint32_t id) const override;
    Outcome<bool> ReadChunkById(uint32_t id, std::vector<uint8_t>& bytes) override;
    Outcome<bool> ReadChunkById(std::string_view id, std::vector<uint8_t>& bytes) override;
    Status GetMarkers(std::vector<Marker>& markers) override;
    void Close() override;
    // The originator reference of the "bext" chunk; empty without one.
    virtual Outcome<Util::String> GetOriginatorReference() const;

private:
    struct ChunkEntry {
        uint32_t id;
        uint32_t size;
        uint64_t bodyPosition;
        bool kept;
    };
    // How one read converts: the encodings it accepts and its messages.
    struct ReadKind {
        const char* notSynced;
        const char* unsupported;
        bool (*accepts)(SampleCodec::Encoding);
    };

    BadFormatError fail(std::string_view message) const;
    Status parse();
    Status readRf64Header(uint64_t fileSize, uint64_t& walkStart);
    Status walkChunks(uint64_t start, uint64_t fileSize);
    Status parseFormat(uint64_t size);
    Status keepBext(uint64_t bodyPosition, uint64_t size);
    void prepareReading();
    Status check(const ReadKind& kind) const;
    Outcome<size_t> readDirect(size_t frames, void* destination);
    template <typename Convert>
    Outcome<size_t> readConverted(size_t frames, Convert&& convert);
    Status restoreFilePosition(); // and forgets the read-ahead window
    void dropWindow();
    Status seekFile(uint64_t position);

    Util::File file_;
    bool synced_ = false;
    bool truncated_ = false;
    Format format_;
    SampleCodec::Encoding encoding_ = SampleCodec::Encoding::Unsupported;
    uint64_t totalFrames_ = 0;
    uint64_t currentFrame_ = 0;
    bool foundFormat_ = false;
    bool foundData_ = false;
    uint64_t dataStart_ = 0;
    uint64_t dataSize_ = 0;
    bool rf64_ = false;
    uint64_t rf64DataSize_ = 0;
    std::vector<uint8_t> bext_;
    std::vector<ChunkEntry> chunks_;
    std::vector<uint8_t> conversion_;
    size_t blockFrames_ = 0;
    size_t windowFrames_ = 0; // raw frames in conversion_ read ahead of currentFrame_
    size_t windowUsed_ = 0;   // of those, the ones already handed out
};

} // namespace Audio::Decode::WAV
