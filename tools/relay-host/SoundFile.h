#pragma once
#include <string>
#include <vector>

// Whole-file WAV input and 32-bit float WAV output through libsndfile.
struct SoundFile {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::vector<float>> samples; // one vector per channel

    size_t frames() const { return samples.empty() ? 0 : samples[0].size(); }

    static SoundFile read(const std::string& path);            // throws std::runtime_error
    void write(const std::string& path) const;                 // throws std::runtime_error
};
