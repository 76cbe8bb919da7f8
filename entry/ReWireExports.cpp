// The ReWire device entry points, as a ReWire mixer calls them through the
// engine library. Kept out of the layer archives so that the linker exports
// them; each is one operation of the process's device. Like the core's entry,
// they make sure the product's factory is installed: the device's description
// comes from the product definition.
#include "product/PluginFactoryImpl.h"
#include "rewire/ProcessDevice.h"

#include <cstdint>

namespace {
ReWire::ProcessDevice& device()
{
    PluginFactoryImpl::product();
    return ReWire::ProcessDevice::process();
}
} // namespace

#pragma GCC visibility push(default)
extern "C" {

int32_t RWDEFOpenDevice(const void* openRecord) { return device().openDevice(openRecord); }
void RWDEFCloseDevice(void* /*unused*/) { device().closeDevice(); }
uint8_t RWDEFIsCloseOK() { return device().isCloseOK() ? 1 : 0; }
void RWDEFGetDeviceInfo(void* record) { device().getDeviceInfo(record); }
void RWDEFGetDeviceNameAndVersion(uint32_t* version, char* name) { device().getDeviceNameAndVersion(version, name); }
void RWDEFGetDeviceSignature(char* signature) { device().getDeviceSignature(signature); }
void RWDEFSetAudioInfo(const void* info) { device().setAudioInfo(info); }
void RWDEFDriveAudio(const void* input, void* output) { device().driveAudio(input, output); }
void RWDEFIdle() { device().idle(); }
uint8_t RWDEFIsPanelAppLaunched() { return device().isPanelAppLaunched() ? 1 : 0; }
int32_t RWDEFLaunchPanelApp() { return device().launchPanelApp(); }
int32_t RWDEFQuitPanelApp() { return device().quitPanelApp(); }
void RWDEFGetEventInfo(void* record) { device().getEventInfo(record); }
void RWDEFGetEventBusInfo(uint16_t bus, void* record) { device().getEventBusInfo(bus, record); }
void RWDEFGetEventChannelInfo(const void* channel, void* record) { device().getEventChannelInfo(channel, record); }
void RWDEFGetEventControllerInfo(uint16_t bus, uint16_t controller, void* record)
{
    device().getEventControllerInfo(bus, controller, record);
}
void RWDEFGetEventNoteInfo(uint16_t bus, uint16_t note, void* record) { device().getEventNoteInfo(bus, note, record); }

} // extern "C"
#pragma GCC visibility pop
