#include "rewire/DeviceInfoRecord.h"

#include <algorithm>
#include <cstring>

namespace ReWire {

namespace {

void putWord(uint8_t* record, size_t offset, uint32_t value) { std::memcpy(record + offset, &value, sizeof value); }

void setBit(uint8_t* record, size_t bitsOffset, size_t bit)
{
    const size_t word = bitsOffset + bit / 32 * sizeof(uint32_t);
    uint32_t bits;
    std::memcpy(&bits, record + word, sizeof bits);
    bits |= 1u << (bit % 32);
    putWord(record, word, bits);
}

} // namespace

void DeviceInfoRecord::fill(uint8_t* record, const PluginDefinition& definition)
{
    auto* text = reinterpret_cast<char*>(record);
    Util::copyTextField(text + NameOffset, NameSize, definition.reWireDeviceName());
    const size_t channels = std::min<size_t>(definition.reWireChannelCount(), MaxChannels);
    putWord(record, ChannelCountOffset, uint32_t(channels));
    std::memset(record + FirstFlagBitsOffset, 0, DeviceValueOffset - FirstFlagBitsOffset);
    for (size_t i = 0; i < channels; ++i) {
        Util::copyTextField(text + ChannelNamesOffset + i * ChannelNameSize, ChannelNameSize,
                            definition.reWireChannelName(uint32_t(i)));
        if (definition.reWireFirstChannelFlag(uint32_t(i)))
            setBit(record, FirstFlagBitsOffset, i);
        if (i % 2 == 0 && definition.reWireSecondChannelFlag(uint32_t(i)))
            setBit(record, SecondFlagBitsOffset, i / 2);
    }
    putWord(record, DeviceValueOffset, definition.reWireDeviceValue());
    putWord(record, VersionOffset, Version);
}

} // namespace ReWire
