#pragma once
#include "util/Result.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <sndfile.h>
#include <string>
#include <utility>
#include <vector>

namespace TestSupport {

// How SoundFile writes a file; by default 32-bit float WAV at 48 kHz.
struct SoundFileLayout {
    int sampleRate = 48000;
    int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    const char* title = nullptr;
};

// A sound file as libsndfile, the independent peer, reads it: the tests check
// our files with it and write their inputs with it. Move-only; the file closes
// with its owner. A file that cannot be opened is an error carrying the path
// and libsndfile's reason, never an empty sound; a write that fails is a
// failed assertion with the same text.
class SoundFile {
public:
    using Error = std::string;
    using Opened = Util::Result<SoundFile, Error>;
    using Layout = SoundFileLayout;

    static Opened open(const std::string& path);
    // Every frame of the file at `path`, interleaved, for tests that compare
    // samples only. A file that cannot be opened fails the test with the
    // reason and gives no samples.
    static std::vector<float> interleavedOf(const std::string& path);
    // The whole file at once, from interleaved frames or one vector per channel
    // (all of one length).
    static ::testing::AssertionResult writeInterleaved(const std::string& path, int channels,
                                                       const std::vector<float>& samples, const Layout& layout = {});
    static ::testing::AssertionResult writePlanar(const std::string& path,
                                                  const std::vector<std::vector<float>>& channels,
                                                  const Layout& layout = {});

    SoundFile(SoundFile&& other) noexcept;
    SoundFile& operator=(SoundFile&& other) noexcept;
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;
    ~SoundFile();

    int channels() const { return info_.channels; }
    int sampleRate() const { return info_.samplerate; }
    sf_count_t frames() const { return info_.frames; }
    int sampleFormat() const { return info_.format & SF_FORMAT_SUBMASK; }

    // Every frame from the start, as floats. A read that stops short fails the
    // test and gives the frames it got: never padding that looks like silence.
    std::vector<float> interleaved() const;
    std::vector<std::vector<float>> planar() const;

    // The broadcast extension, when the file has one, and its time reference.
    std::optional<SF_BROADCAST_INFO> broadcastInfo() const;
    std::optional<uint64_t> timeReference() const;
    std::optional<SF_CUES> cues() const;

private:
    SoundFile(std::string path, SNDFILE* file, const SF_INFO& info)
        : path_(std::move(path)), file_(file), info_(info)
    {
    }

    std::string path_;
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
};

} // namespace TestSupport
