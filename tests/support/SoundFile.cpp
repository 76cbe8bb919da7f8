#include "SoundFile.h"

#include <algorithm>
#include <utility>

namespace TestSupport {

namespace {

std::string failure(const std::string& path, const std::string& what, SNDFILE* file)
{
    return path + ": " + what + ": " + sf_strerror(file);
}

::testing::AssertionResult writeFailure(const std::string& text)
{
    return ::testing::AssertionFailure() << text;
}

} // namespace

SoundFile::Opened SoundFile::open(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return failure(path, "cannot open", nullptr);
    return SoundFile(path, file, info);
}

std::vector<float> SoundFile::interleavedOf(const std::string& path)
{
    const Opened file = open(path);
    if (!file.ok()) {
        ADD_FAILURE() << file.error();
        return {};
    }
    return file.value().interleaved();
}

::testing::AssertionResult SoundFile::writeInterleaved(const std::string& path, int channels,
                                                       const std::vector<float>& samples, const Layout& layout)
{
    if (channels <= 0 || samples.size() % size_t(channels) != 0)
        return writeFailure(path + ": " + std::to_string(samples.size()) + " samples are no whole frames of " +
                            std::to_string(channels) + " channels");
    SF_INFO info{};
    info.samplerate = layout.sampleRate;
    info.channels = channels;
    info.format = layout.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return writeFailure(failure(path, "cannot create", nullptr));
    SoundFile owner(path, file, info);
    if (layout.title && sf_set_string(file, SF_STR_TITLE, layout.title) != 0)
        return writeFailure(failure(path, "cannot set the title", file));
    const auto frames = sf_count_t(samples.size() / size_t(channels));
    if (sf_writef_float(file, samples.data(), frames) != frames)
        return writeFailure(failure(path, "short write", file));
    owner.file_ = nullptr;
    if (const int closed = sf_close(file); closed != 0)
        return writeFailure(path + ": cannot close: " + sf_error_number(closed));
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SoundFile::writePlanar(const std::string& path,
                                                  const std::vector<std::vector<float>>& channels, const Layout& layout)
{
    if (channels.empty())
        return writeFailure(path + ": no channels to write");
    const size_t frames = channels.front().size();
    std::vector<float> interleaved(frames * channels.size());
    for (size_t c = 0; c < channels.size(); ++c) {
        if (channels[c].size() != frames)
            return writeFailure(path + ": channel " + std::to_string(c) + " has " +
                                std::to_string(channels[c].size()) + " frames where channel 0 has " +
                                std::to_string(frames));
        for (size_t i = 0; i < frames; ++i)
            interleaved[i * channels.size() + c] = channels[c][i];
    }
    return writeInterleaved(path, int(channels.size()), interleaved, layout);
}

SoundFile::SoundFile(SoundFile&& other) noexcept
    : path_(std::move(other.path_)), file_(std::exchange(other.file_, nullptr)), info_(other.info_)
{
}

SoundFile& SoundFile::operator=(SoundFile&& other) noexcept
{
    if (this != &other) {
        if (file_)
            sf_close(file_);
        path_ = std::move(other.path_);
        file_ = std::exchange(other.file_, nullptr);
        info_ = other.info_;
    }
    return *this;
}

SoundFile::~SoundFile()
{
    if (file_)
        sf_close(file_);
}

std::vector<float> SoundFile::interleaved() const
{
    std::vector<float> samples(size_t(info_.frames) * size_t(info_.channels));
    const sf_count_t read = sf_seek(file_, 0, SEEK_SET) == 0 ? sf_readf_float(file_, samples.data(), info_.frames) : 0;
    if (read != info_.frames) {
        const std::string counts = std::to_string(read) + " of " + std::to_string(info_.frames);
        ADD_FAILURE() << failure(path_, "read " + counts + " frames", file_);
        samples.resize(size_t(std::max<sf_count_t>(read, 0)) * size_t(info_.channels));
    }
    return samples;
}

std::vector<std::vector<float>> SoundFile::planar() const
{
    const std::vector<float> samples = interleaved();
    const size_t count = size_t(info_.channels);
    const size_t frames = samples.size() / count;
    std::vector<std::vector<float>> channels(count, std::vector<float>(frames));
    for (size_t i = 0; i < frames; ++i)
        for (size_t c = 0; c < count; ++c)
            channels[c][i] = samples[i * count + c];
    return channels;
}

std::optional<SF_BROADCAST_INFO> SoundFile::broadcastInfo() const
{
    SF_BROADCAST_INFO bext{};
    if (sf_command(file_, SFC_GET_BROADCAST_INFO, &bext, sizeof bext) != SF_TRUE)
        return std::nullopt;
    return bext;
}

std::optional<uint64_t> SoundFile::timeReference() const
{
    const auto bext = broadcastInfo();
    if (!bext)
        return std::nullopt;
    return uint64_t(bext->time_reference_low) | uint64_t(bext->time_reference_high) << 32;
}

std::optional<SF_CUES> SoundFile::cues() const
{
    SF_CUES cues{};
    if (sf_command(file_, SFC_GET_CUE, &cues, sizeof cues) != SF_TRUE)
        return std::nullopt;
    return cues;
}

} // namespace TestSupport
