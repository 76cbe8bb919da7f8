#pragma once
#include "core/PluginDefinition.h"

#include <cstddef>
#include <cstdint>

namespace ReWire {

// The mixer's device description record, filled from the product
// definition: the device name, the channel count, each channel's name slot,
// the channel bit sets, the device value and the interface version. Bytes
// the record does not describe (its first word, the slots of channels the
// device does not have) stay as the mixer passed them. [any-thread]
class DeviceInfoRecord {
public:
    static constexpr size_t NameOffset = 4;
    static constexpr size_t NameSize = 32;
    static constexpr size_t ChannelCountOffset = 36;
    static constexpr size_t ChannelNamesOffset = 40;
    static constexpr size_t ChannelNameSize = 32;
    static constexpr size_t MaxChannels = 256;
    static constexpr size_t FirstFlagBitsOffset = 8232;  // a bit per channel
    static constexpr size_t SecondFlagBitsOffset = 8264; // a bit per pair of channels
    static constexpr size_t DeviceValueOffset = 8280;
    static constexpr size_t VersionOffset = 8284;
    static constexpr size_t Size = 8288;
    static constexpr uint32_t Version = 1000000;

    static void fill(uint8_t* record, const PluginDefinition& definition);
};

} // namespace ReWire
