#pragma once
#include "util/Text.h"

#include <cstdint>
#include <vector>

namespace DSP {

// The channel format table: an id selects a layout name and a channel count.
// Ids 13 to 34 are plain multichannel layouts of id - 10 channels ("3->3" ...);
// unknown ids are "?" with no channels. [any-thread]
class ChannelFormat {
public:
    static constexpr uint32_t kLastId = 40;

    static Util::String GetName(uint32_t id);
    static uint32_t GetChannelCount(uint32_t id);
    // Every id with at least one channel, in id order.
    static std::vector<uint32_t> GetKnownIds();
};

} // namespace DSP
