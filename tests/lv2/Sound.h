#pragma once
#include <string>
#include <vector>

namespace Lv2Test {

// A sound file's frames as 32-bit floats, interleaved, read with libsndfile.
struct Sound {
    int channels = 0;
    int sampleRate = 0;
    std::vector<float> samples;
    bool hasTimeReference = false;
    unsigned long long timeReference = 0;

    size_t frames() const { return channels ? samples.size() / size_t(channels) : 0; }
    // The first `frames` frames.
    std::vector<float> head(size_t frames) const;

    static Sound read(const std::string& path); // no channels when it cannot be read
    // White noise of `frames` frames, 32-bit float WAV, written by sox.
    static bool makeNoise(const std::string& path, int channels, int sampleRate, size_t frames);
};

} // namespace Lv2Test
