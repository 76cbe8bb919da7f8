#pragma once
#include "core/PluginDefinition.h"
#include "rewire/ReWireDevice.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace ReWire {

// The process's one device, behind the RWDEF exports: made and opened by the
// mixer's open, destroyed by its close, null in between. Each operation
// below is one export; without a device each answers as the mixer expects of
// a closed one. Drive audio and idle never wait: close waits for a call that
// is already inside the device before it destroys it.
class ProcessDevice {
public:
    static constexpr uint32_t FormatCode = 12;

    // The process's device holder, made on first use. [any-thread]
    static ProcessDevice& process();

    // [any-thread], not audio
    int32_t openDevice(const void* openRecord);
    void closeDevice();
    bool isCloseOK();
    // Need no device. [any-thread]
    void getDeviceInfo(void* record);
    void getDeviceNameAndVersion(uint32_t* version, char* name);
    void getDeviceSignature(char* signature);
    // [any-thread]
    void setAudioInfo(const void* info);
    void driveAudio(const void* input, void* output); // [audio-thread]
    void idle();
    bool isPanelAppLaunched();
    int32_t launchPanelApp();
    int32_t quitPanelApp();
    void getEventInfo(void* record);
    void getEventBusInfo(uint16_t bus, void* record);
    void getEventChannelInfo(const void* channel, void* record);
    void getEventControllerInfo(uint16_t bus, uint16_t controller, void* record);
    void getEventNoteInfo(uint16_t bus, uint16_t note, void* record);

private:
    // The product definition made for the device through the plug-in factory.
    static const PluginDefinition& definition();

    // A call inside the device (or finding none): close waits until every
    // such call has left.
    class Visit {
    public:
        explicit Visit(ProcessDevice& process);
        ~Visit();
        Visit(const Visit&) = delete;
        Visit& operator=(const Visit&) = delete;
        ReWireDevice* device() const { return device_; }

    private:
        ProcessDevice& process_;
        ReWireDevice* device_;
    };

    std::mutex openClose_;
    std::unique_ptr<ReWireDevice> owned_;
    std::atomic<ReWireDevice*> device_{nullptr};
    std::atomic<uint32_t> callsInside_{0};
};

} // namespace ReWire
