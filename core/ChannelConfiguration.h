#pragma once
#include <cstdint>

#include "util/Text.h"

// The channel configuration codes a wrapper passes at creation and with
// selector 17, and the channel count the instance derives from them. [any-thread]
class ChannelConfiguration {
public:
    static uint32_t channelCount(uint32_t code);
    static Util::String name(uint32_t code); // "?" for codes without a layout
};
