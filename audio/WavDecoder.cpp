#include "audio/WavDecoder.h"

#include "audio/ChunkId.h"
#include "util/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

namespace Audio::Decode::WAV {

namespace {

using SampleCodec::Encoding;

constexpr size_t kConversionBytes = 128 * 1024;
constexpr uint64_t kBextMinimumSize = 602;
constexpr size_t kOriginatorReferenceOffset = 288; // after Description[256] and Originator[32]
constexpr size_t kOriginatorReferenceSize = 32;
constexpr std::array<uint8_t, 8> kSubFormatTail = {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

template <typename T>
T field(const uint8_t* bytes)
{
    return Util::loadLittleEndian<T>(bytes);
}

bool toFloat(Encoding e) { return e != Encoding::Float64 && e != Encoding::Unsupported; }
bool toDouble(Encoding e) { return toFloat(e) && e != Encoding::UInt8; }
bool toInt16(Encoding e) { return e == Encoding::Int16; }
bool toRaw(Encoding) { return true; }

Util::String guidText(const uint8_t* guid)
{
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", field<uint32_t>(guid),
                  field<uint16_t>(guid + 4), field<uint16_t>(guid + 6), guid[8], guid[9], guid[10], guid[11], guid[12],
                  guid[13], guid[14], guid[15]);
    return text;
}

// Text of a fixed field or a chunk body: up to its first 0 byte.
Util::String textUpToZero(const uint8_t* bytes, size_t size)
{
    const uint8_t* end = std::find(bytes, bytes + size, uint8_t(0));
    return Util::String(reinterpret_cast<const char*>(bytes), size_t(end - bytes));
}

} // namespace

Decoder::Decoder(Util::String path) : file_(std::move(path)) {}

Decoder::~Decoder() { Close(); }

BadFormatError Decoder::fail(std::string_view message) const { return BadFormatError(Util::String(message), GetPath()); }

Outcome<Format> Decoder::Sync()
{
    if (synced_)
        return format_;
    if (auto parsed = parse(); !parsed) {
        Close();
        return parsed.error();
    }
    return format_;
}

Status Decoder::Sync(Format& format)
{
    auto synced = Sync();
    if (!synced)
        return synced.error();
    format = synced.value();
    return {};
}

Status Decoder::parse()
{
    chunks_.clear();
    bext_.clear();
    truncated_ = foundFormat_ = foundData_ = rf64_ = false;
    format_ = Format();
    currentFrame_ = totalFrames_ = dataStart_ = dataSize_ = 0;
    if (auto opened = file_.Open(Util::File::kRead); !opened)
        return opened.error();
    auto size = file_.GetSize();
    if (!size)
        return size.error();
    const uint64_t fileSize = size.value();
    if (fileSize < 12)
        return fail(Util::format("File size too small to contain a valid RIFF header: %1 bytes", fileSize));
    std::array<uint8_t, 12> riff;
    if (auto read = file_.Read(riff.data(), riff.size()); !read)
        return read.error();
    const uint32_t form = loadChunkId(riff.data());
    if ((form != chunkId("RIFF") && form != chunkId("RF64")) || loadChunkId(riff.data() + 8) != chunkId("WAVE"))
        return fail("Invalid RIFF header");
    uint64_t walkStart = 12;
    if (form == chunkId("RF64"))
        if (auto header = readRf64Header(fileSize, walkStart); !header)
            return header;
    if (auto walked = walkChunks(walkStart, fileSize); !walked)
        return walked;
    if (!foundFormat_)
        return fail("Didn't find 'format' chunk");
    if (!foundData_)
        return fail("Didn't find 'data' chunk");
    if (auto moved = seekFile(dataStart_); !moved)
        return moved;
    prepareReading();
    synced_ = true;
    return {};
}

Status Decoder::readRf64Header(uint64_t fileSize, uint64_t& walkStart)
{
    if (fileSize - 12 < 8)
        return fail(Util::format("File size too small to contain a valid RF64 header: %1 bytes", fileSize));
    std::array<uint8_t, 8> header;
    if (auto read = file_.Read(header.data(), header.size()); !read)
        return read.error();
    if (loadChunkId(header.data()) != chunkId("ds64"))
        return fail("Invalid RF64 WAVE file: missing 'ds64' chunk");
    const uint32_t size = field<uint32_t>(header.data() + 4);
    if (size < 28 || size > 1024)
        return fail("Invalid RF64 WAVE file: invalid size of 'ds64' chunk");
    std::array<uint8_t, 16> sizes; // RIFF size, data size
    if (auto read = file_.Read(sizes.data(), sizes.size()); !read)
        return read.error();
    rf64DataSize_ = field<uint64_t>(sizes.data() + 8);
    rf64_ = true;
    walkStart = 20 + uint64_t(size) + (size & 1);
    return {};
}

Status Decoder::walkChunks(uint64_t position, uint64_t fileSize)
{
    while (position < fileSize && fileSize - position >= 8) {
        std::array<uint8_t, 8> header;
        if (auto moved = file_.Seek(position); !moved)
            return moved.error();
        if (auto read = file_.Read(header.data(), header.size()); !read)
            return read.error();
        const uint32_t id = loadChunkId(header.data());
        const uint32_t size32 = field<uint32_t>(header.data() + 4);
        const uint64_t body = position + 8;
        const uint64_t remaining = fileSize - body;
        uint64_t size = size32;
        if (id == chunkId("data") && rf64_ && size32 == 0xFFFFFFFF)
            size = rf64DataSize_;
        if (size > remaining) {
            if (id != chunkId("data"))
                break; // what was found so far stands
            size = remaining;
            truncated_ = true;
        }
        if (id == chunkId("fmt ")) {
            if (!foundFormat_)
                if (auto parsed = parseFormat(size); !parsed)
                    return parsed;
            foundFormat_ = true;
        } else if (id == chunkId("data")) {
            if (!foundData_) {
                dataStart_ = body;
                dataSize_ = size;
                foundData_ = true;
            }
        } else {
            const bool isBext = id == chunkId("bext");
            if (isBext)
                if (auto kept = keepBext(body, size); !kept)
                    return kept;
            chunks_.push_back({id, size32, body, isBext});
        }
        position = body + size + (size & 1);
    }
    return {};
}

Status Decoder::parseFormat(uint64_t size)
{
    if (size < 16)
        return fail(Util::format("Format chunk is %1 bytes, expected at least %2 bytes", size, 16));
    std::array<uint8_t, 40> bytes{};
    const size_t available = size_t(std::min<uint64_t>(size, bytes.size()));
    if (auto read = file_.Read(bytes.data(), available); !read)
        return read.error();
    const uint16_t tag = field<uint16_t>(&bytes[0]);
    const uint16_t channels = field<uint16_t>(&bytes[2]);
    const uint32_t sampleRate = field<uint32_t>(&bytes[4]);
    const uint16_t bits = field<uint16_t>(&bytes[14]);
    if (channels == 0)
        return fail(Util::format("Bad number of channels: %1", channels));
    if (sampleRate == 0)
        return fail(Util::format("Bad sampling rate: %1", sampleRate));
    format_.channels = channels;
    format_.sampleRate = sampleRate;
    format_.bytesPerSample = (uint32_t(bits) + 7) / 8;
    if (tag == 1 || tag == 3) {
        const bool accepted = bits == 32 || (tag == 1 && (bits == 8 || bits == 16 || bits == 24));
        if (!accepted)
            return fail(Util::format("Unsupported bit depth / wave format combination: %1/%2", bits, tag));
        format_.floatingPoint = tag == 3;
        return {};
    }
    if (tag != 0xFFFE)
        return fail(Util::format("Bad wave format tag: %1", tag));
    // Extension bytes that the chunk really holds, as many as it claims.
    const uint16_t claimed = available >= 18 ? field<uint16_t>(&bytes[16]) : 0;
    const size_t extension = std::min<size_t>(claimed, available >= 18 ? available - 18 : 0);
    if (extension < 22)
        return fail(Util::format("Expected wave format extensible chunk, only %1 extra bytes", extension));
    format_.channelMask = field<uint32_t>(&bytes[20]);
    const uint8_t* guid = &bytes[24];
    const uint32_t subFormat = field<uint32_t>(guid);
    const bool knownGuid = (subFormat == 1 || subFormat == 3) && field<uint16_t>(guid + 4) == 0 &&
                           field<uint16_t>(guid + 6) == 0x0010 &&
                           std::equal(kSubFormatTail.begin(), kSubFormatTail.end(), guid + 8);
    if (!knownGuid)
        return fail(Util::format("Invalid wave format extensible subtype GUID %1", guidText(guid)));
    format_.floatingPoint = subFormat == 3;
    return {};
}

Status Decoder::keepBext(uint64_t bodyPosition, uint64_t size)
{
    if (size < kBextMinimumSize)
        return fail("Invalid size for BWF bext chunk");
    bext_.resize(size_t(size)); // no more than the file holds: the walk checked the size
    if (auto moved = file_.Seek(bodyPosition); !moved)
        return moved.error();
    if (auto read = file_.Read(bext_.data(), bext_.size()); !read)
        return read.error();
    return {};
}

void Decoder::prepareReading()
{
    encoding_ = SampleCodec::encodingOf(format_.bytesPerSample, format_.floatingPoint);
    const uint64_t frameBytes = format_.BytesPerFrame();
    totalFrames_ = frameBytes ? dataSize_ / frameBytes : 0;
    // Never more than the data chunk holds, however large a frame claims to be.
    blockFrames_ = size_t(std::min<uint64_t>(std::max<uint64_t>(1, kConversionBytes / std::max<uint64_t>(frameBytes, 1)),
                                             totalFrames_));
    conversion_.assign(size_t(blockFrames_ * frameBytes), 0);
    dropWindow();
}

Status Decoder::Seek(uint64_t frame)
{
    if (frame == currentFrame_)
        return {};
    if (!synced_)
        return fail(Util::format("Seek to %1 when not sync'd", frame));
    if (frame > totalFrames_)
        return fail(Util::format("Seek to %1, total sample frames %2", frame, totalFrames_));
    dropWindow();
    if (auto moved = seekFile(dataStart_ + frame * format_.BytesPerFrame()); !moved)
        return moved;
    currentFrame_ = frame;
    return {};
}

Status Decoder::restoreFilePosition()
{
    dropWindow();
    return seekFile(dataStart_ + currentFrame_ * format_.BytesPerFrame());
}

// Sample data is read in windows of the stream buffer's size; they bypass the
// buffer only if it holds nothing when they start.
Status Decoder::seekFile(uint64_t position)
{
    if (auto moved = file_.Seek(position); !moved)
        return moved.error();
    if (auto dropped = file_.DropReadAhead(); !dropped)
        return dropped.error();
    return {};
}

void Decoder::dropWindow() { windowFrames_ = windowUsed_ = 0; }

Status Decoder::check(const ReadKind& kind) const
{
    if (!synced_)
        return fail(Util::format(kind.notSynced, GetPath()));
    if (!kind.accepts(encoding_))
        return fail(Util::format(kind.unsupported, GetPath()));
    return {};
}

Outcome<size_t> Decoder::readDirect(size_t frames, void* destination)
{
    if (windowUsed_ < windowFrames_)
        if (auto restored = restoreFilePosition(); !restored)
            return restored.error();
    const size_t count = size_t(std::min<uint64_t>(frames, GetFramesRemaining()));
    if (auto read = file_.Read(destination, size_t(count * format_.BytesPerFrame())); !read) {
        (void)restoreFilePosition();
        return read.error();
    }
    currentFrame_ += count;
    return count;
}

// Converting reads go through a window of raw frames read ahead in one piece:
// a block of a few hundred frames then costs a conversion, not a copy out of
// the stream's buffer as well. The file stands at the window's end.
template <typename Convert>
Outcome<size_t> Decoder::readConverted(size_t frames, Convert&& convert)
{
    const size_t count = size_t(std::min<uint64_t>(frames, GetFramesRemaining()));
    const size_t frameBytes = size_t(format_.BytesPerFrame());
    for (size_t done = 0; done < count;) {
        if (windowUsed_ == windowFrames_) {
            const size_t fill = size_t(std::min<uint64_t>(blockFrames_, GetFramesRemaining()));
            if (auto read = file_.Read(conversion_.data(), fill * frameBytes); !read) {
                (void)restoreFilePosition();
                return read.error();
            }
            windowFrames_ = fill;
            windowUsed_ = 0;
        }
        const size_t take = std::min(count - done, windowFrames_ - windowUsed_);
        convert(conversion_.data() + windowUsed_ * frameBytes, done, take);
        windowUsed_ += take;
        currentFrame_ += take;
        done += take;
    }
    return count;
}

Outcome<size_t> Decoder::ReadFloatInterleaved(size_t frames, float* samples)
{
    static constexpr ReadKind kind{"ReadFloatInterleaved %1 when not sync'd",
                                   "ReadFloatInterleaved %1 called, unsupported conversion", toFloat};
    if (auto checked = check(kind); !checked)
        return checked.error();
    if (encoding_ == Encoding::Float32)
        return readDirect(frames, samples);
    const size_t channels = format_.channels;
    return readConverted(frames, [&](const uint8_t* raw, size_t first, size_t block) {
        SampleCodec::decode(encoding_, raw, block * channels, samples + first * channels);
    });
}

Outcome<size_t> Decoder::ReadDoubleInterleaved(size_t frames, double* samples)
{
    static constexpr ReadKind kind{"ReadFloatInterleaved %1 when not sync'd",
                                   "ReadFloatInterleaved %1 called, unsupported conversion", toDouble};
    if (auto checked = check(kind); !checked)
        return checked.error();
    const size_t channels = format_.channels;
    return readConverted(frames, [&](const uint8_t* raw, size_t first, size_t block) {
        SampleCodec::decode(encoding_, raw, block * channels, samples + first * channels);
    });
}

Outcome<size_t> Decoder::ReadFloatDeinterleaved(size_t frames, float* const* channels)
{
    static constexpr ReadKind kind{"ReadFloatDeinterleaved %1 when not sync'd",
                                   "ReadFloatInterleaved %1 called, unsupported conversion", toFloat};
    if (auto checked = check(kind); !checked)
        return checked.error();
    return readConverted(frames, [&](const uint8_t* raw, size_t first, size_t block) {
        SampleCodec::decodeDeinterleaved(encoding_, raw, format_.channels, block, channels, first);
    });
}

Outcome<size_t> Decoder::ReadInt16Deinterleaved(size_t frames, int16_t* const* channels)
{
    static constexpr ReadKind kind{"ReadInt16Deinterleaved %1 when not sync'd",
                                   "ReadInt16Interleaved %1 called, unsupported conversion", toInt16};
    if (auto checked = check(kind); !checked)
        return checked.error();
    return readConverted(frames, [&](const uint8_t* raw, size_t first, size_t block) {
        SampleCodec::decodeDeinterleaved(encoding_, raw, format_.channels, block, channels, first);
    });
}

Outcome<size_t> Decoder::ReadInt16Interleaved(size_t frames, int16_t* samples)
{
    static constexpr ReadKind kind{"ReadInt16Interleaved %1 when not sync'd",
                                   "ReadInt16Interleaved %1 called, unsupported conversion", toInt16};
    if (auto checked = check(kind); !checked)
        return checked.error();
    return readDirect(frames, samples);
}

Outcome<size_t> Decoder::ReadRawInterleaved(size_t frames, void* bytes)
{
    static constexpr ReadKind kind{"ReadRawInterleaved %1 when not sync'd", "", toRaw};
    if (auto checked = check(kind); !checked)
        return checked.error();
    return readDirect(frames, bytes);
}

std::optional<Stream::ChunkInfo> Decoder::GetChunkInfo(size_t index) const
{
    if (index >= chunks_.size())
        return std::nullopt;
    return ChunkInfo{chunks_[index].id, chunks_[index].kept};
}

Status Decoder::ReadChunk(size_t index, std::vector<uint8_t>& bytes)
{
    if (index >= chunks_.size())
        return fail(Util::format("No chunk with index %1", index));
    const ChunkEntry& chunk = chunks_[index];
    if (chunk.kept) {
        bytes = bext_;
        return {};
    }
    bytes.resize(chunk.size); // the walk checked that the file holds it
    dropWindow();
    if (auto moved = file_.Seek(chunk.bodyPosition); !moved)
        return moved.error();
    auto read = file_.Read(bytes.data(), bytes.size());
    if (auto restored = restoreFilePosition(); !restored)
        return restored;
    if (!read)
        return read.error();
    return {};
}

bool Decoder::HasChunk(uint32_t id) const
{
    return std::any_of(chunks_.begin(), chunks_.end(), [&](const ChunkEntry& c) { return c.id == id; });
}

Outcome<bool> Decoder::ReadChunkById(uint32_t id, std::vector<uint8_t>& bytes)
{
    for (size_t i = 0; i < chunks_.size(); ++i) {
        if (chunks_[i].id != id)
            continue;
        if (auto read = ReadChunk(i, bytes); !read)
            return read.error();
        return true;
    }
    return false;
}

Outcome<bool> Decoder::ReadChunkById(std::string_view id, std::vector<uint8_t>& bytes)
{
    return ReadChunkById(chunkId(id), bytes);
}

Status Decoder::GetMarkers(std::vector<Marker>& markers)
{
    markers.clear();
    std::vector<uint8_t> cue;
    auto found = ReadChunkById(chunkId("cue "), cue);
    if (!found)
        return found.error();
    const uint32_t count = cue.size() >= 4 ? field<uint32_t>(cue.data()) : 0;
    if (found.value() && (cue.size() < 4 || cue.size() - 4 != 24 * uint64_t(count)))
        return fail("Invalid size for cue points");
    std::map<uint32_t, size_t> byCueId;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* point = cue.data() + 4 + 24 * size_t(i);
        Marker marker;
        marker.startFrame = marker.endFrame = field<uint32_t>(point + 20);
        byCueId[field<uint32_t>(point)] = markers.size();
        markers.push_back(marker);
    }
    for (size_t index = 0; index < chunks_.size(); ++index) {
        if (chunks_[index].id != chunkId("LIST"))
            continue;
        std::vector<uint8_t> list;
        if (auto read = ReadChunk(index, list); !read)
            return read;
        if (list.size() < 4 || loadChunkId(list.data()) != chunkId("adtl"))
            continue;
        for (size_t at = 4; at <= list.size() && list.size() - at >= 8;) {
            const uint32_t id = loadChunkId(&list[at]);
            const uint32_t size = field<uint32_t>(&list[at + 4]);
            const size_t body = at + 8;
            if (size > list.size() - body)
                break;
            const bool isText = id == chunkId("labl") || id == chunkId("note");
            if (isText && size < 4)
                return fail("Invalid size for label");
            if (id == chunkId("ltxt") && size < 20)
                return fail("Invalid size for labeled text");
            const auto owner = size >= 4 ? byCueId.find(field<uint32_t>(&list[body])) : byCueId.end();
            if (owner != byCueId.end()) {
                Marker& marker = markers[owner->second];
                if (id == chunkId("labl"))
                    marker.label = textUpToZero(&list[body + 4], size - 4);
                else if (id == chunkId("note"))
                    marker.note = textUpToZero(&list[body + 4], size - 4);
                else if (id == chunkId("ltxt") && field<uint32_t>(&list[body + 4]) > 0) {
                    marker.isRegion = true;
                    marker.endFrame = marker.startFrame + field<uint32_t>(&list[body + 4]) - 1;
                }
            }
            at = body + size + (size & 1);
        }
    }
    return {};
}

Outcome<Util::String> Decoder::GetOriginatorReference() const
{
    if (!synced_)
        return fail(Util::format("GetOriginatorReference %1 when not sync'd", GetPath()));
    if (bext_.size() < kOriginatorReferenceOffset + kOriginatorReferenceSize)
        return Util::String();
    return textUpToZero(bext_.data() + kOriginatorReferenceOffset, kOriginatorReferenceSize);
}

void Decoder::Close()
{
    (void)file_.Close();
    synced_ = false;
}

} // namespace Audio::Decode::WAV
