#pragma once
#include <cstdint>

// The plug-in library's RWDEF exports as a mixer binds them: dlopen of the
// built library and dlsym of each name. The library stays loaded for the test
// process; each test leaves the device closed.
struct MixerSide {
    MixerSide();
    ~MixerSide();
    MixerSide(const MixerSide&) = delete;
    MixerSide& operator=(const MixerSide&) = delete;

    int32_t (*openDevice)(const void* openRecord);
    void (*closeDevice)(void* unused);
    uint8_t (*isCloseOK)();
    void (*getDeviceInfo)(void* record);
    void (*getDeviceNameAndVersion)(uint32_t* version, char* name);
    void (*getDeviceSignature)(char* signature);
    void (*setAudioInfo)(const void* info);
    void (*driveAudio)(const void* input, void* output);
    void (*idle)();
    uint8_t (*isPanelAppLaunched)();
    int32_t (*launchPanelApp)();
    int32_t (*quitPanelApp)();
    void (*getEventInfo)(void* record);
    void (*getEventBusInfo)(uint16_t bus, void* record);
    void (*getEventChannelInfo)(const void* channel, void* record);
    void (*getEventControllerInfo)(uint16_t bus, uint16_t controller, void* record);
    void (*getEventNoteInfo)(uint16_t bus, uint16_t note, void* record);

private:
    void* handle_;
};
