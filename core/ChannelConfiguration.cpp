#include "core/ChannelConfiguration.h"

namespace {
struct Entry {
    uint32_t code;
    const char* name;
    uint32_t channels;
};
constexpr Entry named[] = {
    {0, "Mono", 1},    {1, "Stereo", 2},   {2, "Mid-Side", 2}, {3, "LRC", 3},      {4, "LRS", 3},
    {36, "LCR", 3},    {5, "LCRS", 4},     {6, "Quad", 4},     {7, "5.0", 5},      {8, "5.1", 6},
    {37, "5.1", 6},    {38, "5.1 DTS", 6}, {39, "5.1 FILM", 6}, {9, "7.0", 7},     {10, "7.0 SDDS", 7},
    {11, "7.1", 8},    {12, "7.1 SDDS", 8}, {40, "7.1 DTS", 8},
};
constexpr uint32_t firstPlain = 13;
constexpr uint32_t lastPlain = 34;
} // namespace

uint32_t ChannelConfiguration::channelCount(uint32_t code)
{
    if (code >= firstPlain && code <= lastPlain)
        return code - 10;
    for (const auto& e : named)
        if (e.code == code)
            return e.channels;
    return 0;
}

Util::String ChannelConfiguration::name(uint32_t code)
{
    if (code >= firstPlain && code <= lastPlain)
        return Util::format("%1->%1", code - 10);
    for (const auto& e : named)
        if (e.code == code)
            return e.name;
    return "?";
}
