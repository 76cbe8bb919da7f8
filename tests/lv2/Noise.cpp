#include "Noise.h"

#include <cstdlib>

namespace Lv2Test {

bool makeNoise(const std::string& path, int channels, int sampleRate, size_t frames)
{
    const std::string command = "sox -n -r " + std::to_string(sampleRate) + " -c " + std::to_string(channels) +
                                " -e floating-point -b 32 '" + path + "' synth " + std::to_string(frames) +
                                "s whitenoise gain -6";
    return std::system(command.c_str()) == 0;
}

} // namespace Lv2Test
