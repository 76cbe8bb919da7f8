#include "SoundFile.h"

#include <sndfile.h>
#include <stdexcept>

SoundFile SoundFile::read(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f)
        throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    SoundFile s;
    s.sampleRate = info.samplerate;
    s.channels = info.channels;
    std::vector<float> interleaved(size_t(info.frames) * size_t(info.channels));
    const sf_count_t got = sf_readf_float(f, interleaved.data(), info.frames);
    sf_close(f);
    s.samples.assign(size_t(info.channels), std::vector<float>(size_t(got)));
    for (sf_count_t i = 0; i < got; ++i)
        for (int c = 0; c < info.channels; ++c)
            s.samples[size_t(c)][size_t(i)] = interleaved[size_t(i) * size_t(info.channels) + size_t(c)];
    return s;
}

void SoundFile::write(const std::string& path) const
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    sf_command(f, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    std::vector<float> interleaved(frames() * size_t(channels));
    for (size_t i = 0; i < frames(); ++i)
        for (int c = 0; c < channels; ++c)
            interleaved[i * size_t(channels) + size_t(c)] = samples[size_t(c)][i];
    sf_writef_float(f, interleaved.data(), sf_count_t(frames()));
    sf_close(f);
}
