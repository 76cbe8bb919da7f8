#include "ShuttleTestSupport.h"

#include <algorithm>
#include <filesystem>

SoundFileContents readSoundFile(const std::string& path)
{
    SoundFileContents c;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &c.info);
    if (!f)
        return c;
    c.opened = true;
    std::vector<float> interleaved(size_t(c.info.frames * c.info.channels));
    sf_readf_float(f, interleaved.data(), c.info.frames);
    sf_close(f);
    c.channels.assign(size_t(c.info.channels), std::vector<float>(size_t(c.info.frames)));
    for (size_t i = 0; i < size_t(c.info.frames); ++i)
        for (size_t ch = 0; ch < size_t(c.info.channels); ++ch)
            c.channels[ch][i] = interleaved[i * size_t(c.info.channels) + ch];
    return c;
}

void writeSoundFile(const std::string& path, const std::vector<std::vector<float>>& channels, int rate)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = int(channels.size());
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> interleaved(channels[0].size() * channels.size());
    for (size_t i = 0; i < channels[0].size(); ++i)
        for (size_t c = 0; c < channels.size(); ++c)
            interleaved[i * channels.size() + c] = channels[c][i];
    sf_writef_float(f, interleaved.data(), sf_count_t(channels[0].size()));
    sf_close(f);
}

std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
