#pragma once
#include <cstdint>

// The functions of the ReWire engine library that the device binds by name,
// as the engine exports them on this platform (C linkage), and the version
// datum that stands in for a version resource: an ELF file has none, so the
// engine exports "ReWireFileVersion", four 16-bit words (major, minor,
// release, build) as a Windows file version holds them. An engine without it
// counts as too old.
namespace ReWire::Engine {

// One port of the communication channel between the device and its panel.
struct PortDescription {
    int32_t type;
    int32_t sendBufferSize;
    int32_t receiveBufferSize;
};

using ChannelHandle = void*;

extern "C" {
using Open = int32_t (*)(int32_t interfaceVersion);
using IsCloseOK = int32_t (*)();
using Close = void (*)();
using IsMixerRunning = int32_t (*)();
using ChannelCreate = int32_t (*)(const char* signature, int32_t value, const PortDescription* ports,
                                  int32_t portCount, ChannelHandle* channel);
using ConnectionCheck = int32_t (*)(ChannelHandle channel);
using ChannelDestroy = void (*)(ChannelHandle channel);
using MessageFits = int32_t (*)(ChannelHandle channel, int32_t port, int32_t size);
using Send = int32_t (*)(ChannelHandle channel, int32_t port, int32_t size, const void* message);
using Read = int32_t (*)(ChannelHandle channel, int32_t port, int32_t capacity, void* buffer, int32_t* size);
using BytesAvailable = int32_t (*)(ChannelHandle channel, int32_t port, int32_t* bytes);
}

inline constexpr const char* VersionSymbol = "ReWireFileVersion";
inline constexpr uint16_t RequiredMajor = 1;
inline constexpr uint16_t LeastMinor = 8;

// What the connection check answers.
inline constexpr int32_t PanelConnected = 111;
inline constexpr int32_t PanelNotConnected = 110;

} // namespace ReWire::Engine
