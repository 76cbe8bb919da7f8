#include "Sound.h"

#include <cstdlib>
#include <sndfile.h>

namespace Lv2Test {

std::vector<float> Sound::head(size_t count) const
{
    const size_t n = std::min(samples.size(), count * size_t(channels));
    return {samples.begin(), samples.begin() + long(n)};
}

Sound Sound::read(const std::string& path)
{
    Sound sound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return sound;
    sound.samples.resize(size_t(info.frames * info.channels));
    sf_readf_float(file, sound.samples.data(), info.frames);
    SF_BROADCAST_INFO bext{};
    sound.hasTimeReference = sf_command(file, SFC_GET_BROADCAST_INFO, &bext, sizeof bext) == SF_TRUE;
    sound.timeReference = uint64_t(bext.time_reference_low) | uint64_t(bext.time_reference_high) << 32;
    sound.channels = info.channels;
    sound.sampleRate = info.samplerate;
    sf_close(file);
    return sound;
}

bool Sound::makeNoise(const std::string& path, int channels, int sampleRate, size_t frames)
{
    const std::string command = "sox -n -r " + std::to_string(sampleRate) + " -c " + std::to_string(channels) +
                                " -e floating-point -b 32 '" + path + "' synth " + std::to_string(frames) +
                                "s whitenoise gain -6";
    return std::system(command.c_str()) == 0;
}

} // namespace Lv2Test
