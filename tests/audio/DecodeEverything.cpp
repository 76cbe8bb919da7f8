#include "DecodeEverything.h"

#include "audio/WavDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace TestSupport {

namespace {

void require(bool promise)
{
    if (!promise)
        std::abort();
}

// Reads to the end with `read(frames)` in blocks of varying size.
template <typename Read>
void readToEnd(Audio::Decode::WAV::Decoder& decoder, size_t blockFrames, Read&& read)
{
    require(decoder.Seek(0).ok());
    uint64_t total = 0;
    for (size_t round = 0;; ++round) {
        const size_t ask = 1 + (round * 7) % blockFrames;
        const auto got = read(ask);
        if (!got.ok())
            return; // refused conversion or unreadable file: fine, but nothing read
        require(got.value() <= ask);
        total += got.value();
        require(decoder.GetPosition() == total);
        if (got.value() == 0)
            break;
    }
    require(total == decoder.GetTotalFrames());
    require(decoder.GetFramesRemaining() == 0);
}

} // namespace

std::string decodeEverything(const std::string& path)
{
    Audio::Decode::WAV::Decoder decoder(path);
    const auto synced = decoder.Sync();
    if (!synced.ok())
        return synced.error().Message();
    const Audio::Format format = synced.value();
    require(format.channels > 0 && format.sampleRate > 0);
    require(decoder.GetTotalFrames() * format.BytesPerFrame() <= std::filesystem::file_size(path));

    const size_t channels = format.channels;
    const size_t blockFrames = std::max<size_t>(1, 4096 / channels);
    // No read returns more frames than the file holds, so the buffers need no
    // more; a header claiming enormous frames over no data then costs nothing.
    const size_t bufferFrames = size_t(std::min<uint64_t>(blockFrames, decoder.GetTotalFrames()));
    std::vector<float> floats(bufferFrames * channels);
    std::vector<double> doubles(bufferFrames * channels);
    std::vector<int16_t> shorts(bufferFrames * channels);
    std::vector<uint8_t> raw(bufferFrames * channels * std::max<size_t>(format.bytesPerSample, 1));
    std::vector<float*> floatChannels(channels);
    std::vector<int16_t*> shortChannels(channels);
    for (size_t c = 0; c < channels; ++c) {
        floatChannels[c] = floats.data() + c * bufferFrames;
        shortChannels[c] = shorts.data() + c * bufferFrames;
    }

    readToEnd(decoder, blockFrames, [&](size_t n) { return decoder.ReadFloatInterleaved(n, floats.data()); });
    readToEnd(decoder, blockFrames, [&](size_t n) { return decoder.ReadDoubleInterleaved(n, doubles.data()); });
    readToEnd(decoder, blockFrames, [&](size_t n) { return decoder.ReadFloatDeinterleaved(n, floatChannels.data()); });
    readToEnd(decoder, blockFrames, [&](size_t n) { return decoder.ReadInt16Interleaved(n, shorts.data()); });
    readToEnd(decoder, blockFrames, [&](size_t n) { return decoder.ReadInt16Deinterleaved(n, shortChannels.data()); });
    readToEnd(decoder, blockFrames, [&](size_t n) { return decoder.ReadRawInterleaved(n, raw.data()); });

    const uint64_t total = decoder.GetTotalFrames();
    require(decoder.Seek(total).ok());
    require(!decoder.Seek(total + 1).ok());
    require(decoder.GetPosition() == total);
    require(decoder.Seek(total / 2).ok());

    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < decoder.GetChunkCount(); ++i) {
        const auto info = decoder.GetChunkInfo(i);
        require(info.has_value());
        (void)decoder.ReadChunk(i, bytes);
    }
    require(!decoder.GetChunkInfo(decoder.GetChunkCount()).has_value());
    std::vector<Audio::Marker> markers;
    (void)decoder.GetMarkers(markers);
    require(decoder.GetOriginatorReference().ok());
    require(decoder.GetPosition() == total / 2);
    return "";
}

} // namespace TestSupport
