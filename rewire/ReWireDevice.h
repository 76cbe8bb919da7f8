#pragma once
#include "platform/CriticalSection.h"
#include "rewire/EngineLibrary.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ReWire {

// The device a ReWire mixer drives through the RWDEF exports. In this product
// it is inert: no audio channels, no event buses, nothing reaches the plug-in.
// It keeps what the mixer tells it of the transport, follows the panel's
// connection, and services the communication channel. Drive audio and idle
// only try the device lock and never wait for it, so neither blocks the other.
// Virtual operations in slot order.
class ReWireDevice {
public:
    static constexpr const char* LockName = "ReWire Device Lock";
    static constexpr uint32_t NoPanel = 1;      // connection state at construction
    static constexpr uint32_t Connected = 0;
    static constexpr uint32_t SecondConnected = 2; // never set here; drive audio treats it as Connected
    static constexpr uint32_t IdleServiceAfterMs = 1000;

    // What the mixer last said; absent until it said it.
    struct Transport {
        std::optional<uint32_t> tempo;                // thousandths of beats per minute
        std::array<std::optional<uint32_t>, 4> words; // drive-audio input words 2128, 2132, 2136, 2140
        std::optional<bool> flag;                     // drive-audio input word 2144, not zero
        std::optional<uint32_t> sampleRate;
        std::optional<uint32_t> audioValue;           // the open record's fourth word
        std::optional<float> samplePosition;
    };
    using Listener = std::function<void(const uint8_t* event)>;

    // The signature names the panel's channel. [any-thread], not audio
    ReWireDevice(EngineLibrary& engine, Util::String signature);
    virtual ~ReWireDevice();
    ReWireDevice(const ReWireDevice&) = delete;
    ReWireDevice& operator=(const ReWireDevice&) = delete;

    // True unless a panel is connected. [any-thread]
    virtual bool isCloseOK();
    // Closes the channel and the engine. [any-thread], not audio
    virtual void close();
    // Takes the transport from the input record, services the channel and
    // hands the input's events to the listeners. Allocates nothing. [audio-thread]
    virtual void driveAudio(const uint8_t* input, uint8_t* output);
    // Follows the panel's connection; services the channel when drive audio
    // has not for a while. [any-thread]
    virtual void idle();
    // Takes the sample rate from the audio-info record's second word. [any-thread]
    virtual void setAudioInfo(const uint8_t* info);
    // A panel is connected on the channel. [any-thread]
    virtual bool isPanelLaunched();
    // Nothing to launch: answers 1. [any-thread]
    virtual int32_t launchPanel();
    // Nothing to quit. [any-thread]
    virtual void quitPanel();
    // The device has no events: the records stay as the mixer passed them. [any-thread]
    virtual void getEventInfo(void* record);
    virtual void getEventBusInfo(uint16_t bus, void* record);
    virtual void getEventChannelInfo(const void* channel, void* record);
    virtual void getEventControllerInfo(uint16_t bus, uint16_t controller, void* record);
    virtual void getEventNoteInfo(uint16_t bus, uint16_t note, void* record);
    // [any-thread], not audio, not while audio is driven
    virtual void addListener(Listener listener);

    // Stores the open record's sample rate (third word) and audio value
    // (fourth), loads the engine and makes the channel: a ResultCode or the
    // engine's own. A failed channel closes the engine again. [any-thread], not audio
    int32_t open(const uint8_t* openRecord);

    // What drive audio and the audio info kept; read it where the device is driven. [audio-thread]
    const Transport& transport() const { return transport_; }
    uint32_t connectionState() const { return connection_.load(std::memory_order_acquire); } // [any-thread]
    Platform::CriticalSection& deviceLock() { return lock_; }                               // [any-thread]

private:
    void takeTransport(const uint8_t* input);
    void serviceChannel();
    void serviceChannelLocked();
    void deliverEvents(const uint8_t* input);

    EngineLibrary& engine_;
    const Util::String signature_;
    Transport transport_;
    std::vector<Listener> listeners_;
    Platform::CriticalSection lock_{LockName};
    std::atomic<uint32_t> connection_{NoPanel};
    std::atomic<uint32_t> lastActivityTick_;
    std::array<int32_t, EngineLibrary::PortCount> waiting_{};
    std::vector<uint8_t> message_; // one port's message, sized at construction
};

} // namespace ReWire
