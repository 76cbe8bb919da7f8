#include "MixerSide.h"

#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace {
template <typename Function>
void bind(void* handle, const char* name, Function& slot)
{
    slot = reinterpret_cast<Function>(dlsym(handle, name));
    if (!slot)
        throw std::runtime_error(std::string("the plug-in library does not export ") + name);
}
} // namespace

MixerSide::MixerSide() : handle_(dlopen(RELAY_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL))
{
    if (!handle_)
        throw std::runtime_error(std::string("cannot load the plug-in library: ") + dlerror());
    bind(handle_, "RWDEFOpenDevice", openDevice);
    bind(handle_, "RWDEFCloseDevice", closeDevice);
    bind(handle_, "RWDEFIsCloseOK", isCloseOK);
    bind(handle_, "RWDEFGetDeviceInfo", getDeviceInfo);
    bind(handle_, "RWDEFGetDeviceNameAndVersion", getDeviceNameAndVersion);
    bind(handle_, "RWDEFGetDeviceSignature", getDeviceSignature);
    bind(handle_, "RWDEFSetAudioInfo", setAudioInfo);
    bind(handle_, "RWDEFDriveAudio", driveAudio);
    bind(handle_, "RWDEFIdle", idle);
    bind(handle_, "RWDEFIsPanelAppLaunched", isPanelAppLaunched);
    bind(handle_, "RWDEFLaunchPanelApp", launchPanelApp);
    bind(handle_, "RWDEFQuitPanelApp", quitPanelApp);
    bind(handle_, "RWDEFGetEventInfo", getEventInfo);
    bind(handle_, "RWDEFGetEventBusInfo", getEventBusInfo);
    bind(handle_, "RWDEFGetEventChannelInfo", getEventChannelInfo);
    bind(handle_, "RWDEFGetEventControllerInfo", getEventControllerInfo);
    bind(handle_, "RWDEFGetEventNoteInfo", getEventNoteInfo);
}

MixerSide::~MixerSide()
{
    closeDevice(nullptr);
    dlclose(handle_);
}
