#pragma once
#include <cstdint>

// What opening the device answers the mixer; any other value is the engine's
// own open or channel-create result.
namespace ReWire::ResultCode {

inline constexpr int32_t Success = 1;
inline constexpr int32_t DeviceAlreadyOpen = 4;
inline constexpr int32_t DeviceNotCreated = 5;
inline constexpr int32_t EngineAlreadyBound = 6;
inline constexpr int32_t EngineNotFound = 100;    // or its path is too long
inline constexpr int32_t EngineTooOld = 101;      // or incomplete
inline constexpr int32_t PlatformNotSupported = 109;
inline constexpr int32_t PanelLaunchedWithoutDevice = 202;
inline constexpr int32_t PanelQuit = 666;

} // namespace ReWire::ResultCode
