#include "dsp/ChannelFormat.h"

namespace DSP {

namespace {
struct Layout {
    const char* name;
    uint32_t channels;
};

constexpr uint32_t kFirstDiscrete = 13;
constexpr uint32_t kLastDiscrete = 34;
constexpr uint32_t kDiscreteOffset = 10;

// Ids 0 to 12 and 35 to 40; the discrete ids between are computed.
constexpr Layout kNamedLow[] = {
    {"Mono", 1}, {"Stereo", 2}, {"Mid-Side", 2}, {"LRC", 3},      {"LRS", 3},      {"LCRS", 4},     {"Quad", 4},
    {"5.0", 5},  {"5.1", 6},    {"7.0", 7},      {"7.0 SDDS", 7}, {"7.1", 8},      {"7.1 SDDS", 8},
};
constexpr Layout kNamedHigh[] = {
    {"?", 0}, {"LCR", 3}, {"5.1", 6}, {"5.1 DTS", 6}, {"5.1 FILM", 6}, {"7.1 DTS", 8},
};
constexpr Layout kUnknown = {"?", 0};

Layout namedLayout(uint32_t id)
{
    if (id < kFirstDiscrete)
        return kNamedLow[id];
    if (id > kLastDiscrete && id <= ChannelFormat::kLastId)
        return kNamedHigh[id - kLastDiscrete - 1];
    return kUnknown;
}

bool isDiscrete(uint32_t id) { return id >= kFirstDiscrete && id <= kLastDiscrete; }
} // namespace

Util::String ChannelFormat::GetName(uint32_t id)
{
    if (isDiscrete(id))
        return Util::format("%1->%1", id - kDiscreteOffset);
    return namedLayout(id).name;
}

uint32_t ChannelFormat::GetChannelCount(uint32_t id)
{
    return isDiscrete(id) ? id - kDiscreteOffset : namedLayout(id).channels;
}

std::vector<uint32_t> ChannelFormat::GetKnownIds()
{
    std::vector<uint32_t> ids;
    for (uint32_t id = 0; id <= kLastId; ++id)
        if (GetChannelCount(id) > 0)
            ids.push_back(id);
    return ids;
}

} // namespace DSP
