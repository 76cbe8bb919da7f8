#pragma once
#include <cstddef>
#include <string>

namespace Lv2Test {

// White noise of `frames` frames, 32-bit float WAV, written by sox.
bool makeNoise(const std::string& path, int channels, int sampleRate, size_t frames);

} // namespace Lv2Test
