#include "audio/WavEncoder.h"

#include "audio/ChunkId.h"
#include "util/ByteOrder.h"
#include "io/ByteStream.h"

#include <algorithm>
#include <array>

namespace Audio::Encode::WAV {

namespace {

constexpr size_t kConversionBytes = 64 * 1024;
constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;
// The tail shared by the PCM and IEEE float sub-format GUIDs.
constexpr std::array<uint8_t, 8> kSubFormatTail = {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// Little-endian fields appended to a byte buffer.
class FieldWriter {
public:
    explicit FieldWriter(uint8_t* bytes) : at_(bytes) {}
    FieldWriter& id(std::string_view text)
    {
        storeChunkId(at_, chunkId(text));
        at_ += 4;
        return *this;
    }
    template <typename T>
    FieldWriter& put(T value)
    {
        Util::storeLittleEndian(at_, value);
        at_ += sizeof(T);
        return *this;
    }
    FieldWriter& bytes(const uint8_t* data, size_t count)
    {
        std::copy(data, data + count, at_);
        at_ += count;
        return *this;
    }

private:
    uint8_t* at_;
};

uint32_t clampTo32(uint64_t size) { return uint32_t(std::min<uint64_t>(size, 0xFFFFFFFFu)); }

} // namespace

Encoder::Encoder(Util::String path, const Format& format)
    : format_(format), encoding_(SampleCodec::encodingOf(format.bytesPerSample, format.floatingPoint)),
      file_(std::move(path))
{
}

Encoder::~Encoder()
{
    if (file_.IsOpen())
        (void)Finish();
}

bool Encoder::UsesExtensibleFormat(const Format& format)
{
    const uint32_t bytes = format.bytesPerSample;
    const bool plainType = bytes == 1 || bytes == 2 || (bytes == 3 && !format.floatingPoint) || bytes == 4;
    return format.channels >= 3 || !plainType;
}

Status Encoder::BeginWriting()
{
    writingData_ = false;
    finished_ = false;
    framesWritten_.reset();
    riffSizePosition_.reset();
    dataSizePosition_.reset();
    if (auto opened = file_.Open(Util::File::kWrite); !opened)
        return opened.error();
    file_.SetByteOrder(Util::kByteOrderLittleEndian);
    const uint64_t frameBytes = std::max<uint64_t>(format_.BytesPerFrame(), 1);
    blockFrames_ = std::max<size_t>(1, kConversionBytes / frameBytes);
    conversion_.assign(blockFrames_ * frameBytes, 0);
    return writeHeader();
}

Status Encoder::writeHeader()
{
    const bool extensible = UsesExtensibleFormat(format_);
    const uint16_t bits = uint16_t(format_.bytesPerSample * 8);
    const uint16_t blockAlign = uint16_t(format_.BytesPerFrame());
    std::array<uint8_t, 60> header{};
    FieldWriter fields(header.data());
    fields.id("RIFF").put(uint32_t(0)).id("WAVE");
    fields.id("fmt ").put(uint32_t(extensible ? 40 : 16));
    fields.put(extensible ? kTagExtensible : format_.floatingPoint ? kTagFloat : kTagPcm);
    fields.put(uint16_t(format_.channels)).put(format_.sampleRate);
    fields.put(uint32_t(format_.BytesPerFrame() * format_.sampleRate)).put(blockAlign).put(bits);
    if (extensible) {
        fields.put(uint16_t(22)).put(bits).put(format_.channelMask);
        fields.put(uint32_t(format_.floatingPoint ? kTagFloat : kTagPcm)).put(uint16_t(0)).put(uint16_t(0x0010));
        fields.bytes(kSubFormatTail.data(), kSubFormatTail.size());
    }
    const size_t size = extensible ? 60 : 36;
    if (auto written = file_.Write(header.data(), size); !written)
        return written.error();
    auto end = file_.GetPosition();
    if (!end)
        return end.error();
    riffSizePosition_ = end.value() - size + 4;
    return {};
}

Status Encoder::beginData()
{
    if (finished_)
        return EncodeError("Write called after we finished writing our data chunk");
    if (writingData_)
        return EncodeError("beginWritingData() called when we're already writing data");
    writingData_ = true;
    if (!framesWritten_)
        framesWritten_ = 0;
    std::array<uint8_t, 8> header{};
    FieldWriter(header.data()).id("data").put(uint32_t(0));
    if (auto written = file_.Write(header.data(), header.size()); !written)
        return written.error();
    auto end = file_.GetPosition();
    if (!end)
        return end.error();
    dataSizePosition_ = end.value() - 4;
    return {};
}

Status Encoder::endData()
{
    if (!writingData_)
        return {};
    writingData_ = false;
    finished_ = true;
    if ((format_.BytesPerFrame() * framesWritten_.value_or(0)) % 2 != 0) {
        const uint8_t pad = 0;
        if (auto written = file_.Write(&pad, 1); !written)
            return written.error();
    }
    return {};
}

Status Encoder::writeFrames(size_t frames, const void* bytes)
{
    if (auto written = file_.Write(bytes, frames * format_.BytesPerFrame()); !written)
        return written.error();
    *framesWritten_ += frames;
    return {};
}

template <typename Convert>
Status Encoder::writeConverted(size_t frames, Convert&& convert)
{
    for (size_t first = 0; first < frames; first += blockFrames_) {
        const size_t count = std::min(blockFrames_, frames - first);
        convert(first, count, conversion_.data());
        if (auto written = writeFrames(count, conversion_.data()); !written)
            return written;
    }
    return {};
}

Error Encoder::unsupported(size_t frames) const
{
    return EncodeError(
        Util::format("WriteFloatInterleaved %1 called with unsupported bytes per sample / floating-point: %2/%3",
                     frames, format_.bytesPerSample, format_.floatingPoint));
}

template <typename T>
Status Encoder::writeInterleaved(size_t frames, const T* samples)
{
    if (!writingData_)
        if (auto begun = beginData(); !begun)
            return begun;
    const bool floatOut = encoding_ == SampleCodec::Encoding::Float32;
    if ((std::is_same_v<T, float> && encoding_ == SampleCodec::Encoding::Float64) ||
        encoding_ == SampleCodec::Encoding::UInt8 || encoding_ == SampleCodec::Encoding::Unsupported)
        return unsupported(frames);
    if (std::is_same_v<T, float> && floatOut)
        return writeFrames(frames, samples); // already what the file holds
    const size_t channels = format_.channels;
    return writeConverted(frames, [&](size_t first, size_t count, uint8_t* out) {
        SampleCodec::encode(encoding_, samples + first * channels, count * channels, out);
    });
}

template <typename T>
Status Encoder::writeDeinterleaved(size_t frames, const T* const* channels)
{
    if (!writingData_)
        if (auto begun = beginData(); !begun)
            return begun;
    if ((std::is_same_v<T, float> && encoding_ == SampleCodec::Encoding::Float64) ||
        encoding_ == SampleCodec::Encoding::UInt8 || encoding_ == SampleCodec::Encoding::Unsupported)
        return unsupported(frames);
    return writeConverted(frames, [&](size_t first, size_t count, uint8_t* out) {
        SampleCodec::encodeDeinterleaved(encoding_, channels, format_.channels, first, count, out);
    });
}

Status Encoder::WriteFloatDeinterleaved(size_t frames, const float* const* channels)
{
    return writeDeinterleaved(frames, channels);
}

Status Encoder::WriteFloatInterleaved(size_t frames, const float* samples) { return writeInterleaved(frames, samples); }

Status Encoder::WriteDoubleDeinterleaved(size_t frames, const double* const* channels)
{
    return writeDeinterleaved(frames, channels);
}

Status Encoder::WriteDoubleInterleaved(size_t frames, const double* samples)
{
    return writeInterleaved(frames, samples);
}

Status Encoder::WriteRawInterleaved(size_t frames, const void* bytes)
{
    if (!writingData_)
        if (auto begun = beginData(); !begun)
            return begun;
    return writeFrames(frames, bytes);
}

// "cue " holds one 24-byte cue point per marker; "LIST"/"adtl" holds, per
// marker, an "ltxt" for a region and a "labl" and a "note" for its texts.
Status Encoder::WriteMarkers(const std::vector<Marker>& markers)
{
    if (!finished_ && !writingData_)
        if (auto begun = beginData(); !begun)
            return begun;
    if (auto ended = endData(); !ended)
        return ended;
    Util::ByteStream cue;
    Util::ByteStream list;
    cue.SetByteOrder(Util::kByteOrderLittleEndian);
    list.SetByteOrder(Util::kByteOrderLittleEndian);
    const auto putId = [](Util::ByteStream& stream, std::string_view id) {
        uint8_t bytes[4];
        storeChunkId(bytes, chunkId(id));
        stream.Write(4, bytes);
    };
    const auto putText = [&](std::string_view id, uint32_t cueId, const Util::String& text) {
        // Cue id, the text, its 0 byte, and a pad byte that the size counts.
        const uint32_t size = uint32_t((text.size() + 6) & ~size_t(1));
        const uint8_t zeros[2] = {0, 0};
        putId(list, id);
        list.WriteUInt(size);
        list.WriteUInt(cueId);
        list.Write(text.size(), text.data());
        list.Write(size - 4 - text.size(), zeros);
    };

    cue.WriteUInt(uint32_t(markers.size()));
    putId(list, "adtl");
    for (size_t i = 0; i < markers.size(); ++i) {
        const Marker& marker = markers[i];
        const uint32_t cueId = uint32_t(i + 1);
        cue.WriteUInt(cueId);
        cue.WriteUInt(marker.startFrame); // position
        putId(cue, "data");
        cue.WriteUInt(0); // chunk start
        cue.WriteUInt(0); // block start
        cue.WriteUInt(marker.startFrame); // sample offset
        if (marker.IsRegion()) {
            putId(list, "ltxt");
            list.WriteUInt(20);
            list.WriteUInt(cueId);
            list.WriteUInt(marker.endFrame - marker.startFrame + 1);
            putId(list, "rgn ");
            list.WriteUInt64(0); // country, language, dialect, code page
        }
        if (!marker.label.empty())
            putText("labl", cueId, marker.label);
        if (!marker.note.empty())
            putText("note", cueId, marker.note);
    }
    if (auto written = WriteChunk(chunkId("cue "), cue.GetBuffer()); !written)
        return written;
    return WriteChunk(chunkId("LIST"), list.GetBuffer());
}

Status Encoder::WriteChunk(uint32_t id, const std::vector<uint8_t>& bytes)
{
    return WriteChunk(id, uint32_t(bytes.size()), bytes.data());
}

Status Encoder::WriteChunk(std::string_view id, uint32_t size, const void* bytes)
{
    return WriteChunk(chunkId(id), size, bytes);
}

Status Encoder::WriteChunk(std::string_view id, const std::vector<uint8_t>& bytes)
{
    return WriteChunk(chunkId(id), uint32_t(bytes.size()), bytes.data());
}

Status Encoder::WriteChunk(uint32_t id, uint32_t size, const void* bytes)
{
    if (!finished_ && !writingData_)
        if (auto begun = beginData(); !begun)
            return begun;
    if (auto ended = endData(); !ended)
        return ended;
    std::array<uint8_t, 8> header{};
    storeChunkId(header.data(), id);
    Util::storeLittleEndian(header.data() + 4, size);
    if (auto written = file_.Write(header.data(), header.size()); !written)
        return written.error();
    if (auto written = file_.Write(bytes, size); !written)
        return written.error();
    if (size % 2 != 0) {
        const uint8_t pad = 0;
        if (auto written = file_.Write(&pad, 1); !written)
            return written.error();
    }
    return {};
}

Status Encoder::patchSize(const std::optional<uint64_t>& position, uint64_t size)
{
    if (auto moved = file_.Seek(*position); !moved)
        return moved.error();
    const uint32_t field = Util::orderBytes(clampTo32(size), file_.GetByteOrder());
    if (auto written = file_.Write(&field, sizeof field); !written)
        return written.error();
    return {};
}

Outcome<uint64_t> Encoder::Salvage()
{
    if (!file_.IsOpen())
        return EncodeError("Salvage called when the file is not open");
    auto kept = keepFramesOnDisk();
    writingData_ = false;
    finished_ = true;
    riffSizePosition_.reset();
    dataSizePosition_.reset();
    if (!kept) {
        (void)file_.Close();
        return kept.error();
    }
    if (!kept.value()) {
        framesWritten_.reset();
        if (auto removed = file_.Remove(); !removed)
            return removed.error();
        return uint64_t(0);
    }
    framesWritten_ = *kept.value();
    if (auto closed = file_.Close(); !closed)
        return closed.error();
    return *kept.value();
}

// The bytes still buffered never reached the disk; what did is the file's size.
// Of the samples only whole frames count, and an odd data size keeps its pad
// byte. Nothing when even the header is incomplete.
Outcome<std::optional<uint64_t>> Encoder::keepFramesOnDisk()
{
    if (auto dropped = file_.DiscardUnwritten(); !dropped)
        return dropped.error();
    auto size = file_.GetSize();
    if (!size)
        return size.error();
    if (!dataSizePosition_ || !riffSizePosition_ || size.value() < *dataSizePosition_ + 4)
        return std::optional<uint64_t>();
    const uint64_t dataStart = *dataSizePosition_ + 4;
    const uint64_t frameBytes = std::max<uint64_t>(format_.BytesPerFrame(), 1);
    uint64_t frames = (size.value() - dataStart) / frameBytes;
    const auto endOf = [&](uint64_t count) { return dataStart + count * frameBytes + (count * frameBytes) % 2; };
    if (frames > 0 && endOf(frames) > size.value())
        --frames;
    const uint64_t end = endOf(frames);
    if (auto cut = file_.Truncate(end); !cut)
        return cut.error();
    if (auto patched = patchSize(riffSizePosition_, end - 8); !patched)
        return patched.error();
    if (auto patched = patchSize(dataSizePosition_, frames * frameBytes); !patched)
        return patched.error();
    return std::optional<uint64_t>(frames);
}

Status Encoder::Finish()
{
    // A file that got no samples gets no data chunk: the header alone.
    if (auto ended = endData(); !ended)
        return ended;
    if (riffSizePosition_) {
        auto size = file_.GetSize();
        if (!size)
            return size.error();
        const uint64_t evenSize = (size.value() + 1) & ~uint64_t(1);
        if (evenSize >= 8)
            if (auto patched = patchSize(riffSizePosition_, evenSize - 8); !patched)
                return patched;
    }
    if (dataSizePosition_ && framesWritten_)
        if (auto patched = patchSize(dataSizePosition_, format_.BytesPerFrame() * *framesWritten_); !patched)
            return patched;
    if (auto closed = file_.Close(); !closed)
        return closed.error();
    riffSizePosition_.reset();
    dataSizePosition_.reset();
    return {};
}

} // namespace Audio::Encode::WAV
