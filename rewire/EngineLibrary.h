#pragma once
#include "platform/DynamicLibrary.h"
#include "rewire/EngineInterface.h"

#include <array>
#include <cstdint>
#include <memory>

namespace ReWire {

// The ReWire engine library as the device uses it: found in the common
// program files folder, checked, its eleven functions bound by name, and the
// communication channel made through it. One per process (process()); the
// device's open and close are the only ones that change it, and the mixer
// makes those calls one at a time.
class EngineLibrary {
public:
    static constexpr int32_t InterfaceVersion = 1000000;
    static constexpr int32_t PortCount = 8;
    static constexpr int32_t PortType = 12;
    static constexpr int32_t PortBufferSize = 8192;
    static constexpr int32_t ChannelValue = 2;
    static constexpr size_t MaxPathLength = 260; // a path this long or longer is not tried
    static constexpr const char* Folder = "\\Propellerhead Software\\ReWire\\";
    static constexpr std::array<const char*, 3> FileNames{"ReWireDebug.so", "ReWireBeta.so", "ReWire.so"};

    // The process's engine, made on first use. [any-thread]
    static EngineLibrary& process();

    EngineLibrary();
    ~EngineLibrary();
    EngineLibrary(const EngineLibrary&) = delete;
    EngineLibrary& operator=(const EngineLibrary&) = delete;

    // Loads, checks and binds the engine and opens it: a ResultCode, or the
    // engine's own open result. [any-thread], not audio
    int32_t load();
    // Destroys the channel, closes the engine, forgets its functions and lets
    // the library go once no load holds it. [any-thread], not audio
    void unload();
    bool isBound() const { return slots_.open != nullptr; } // [any-thread]

    // Makes the channel with the device's signature and the eight ports; the
    // engine's result (ResultCode::Success when made). [any-thread], not audio
    int32_t createChannel(const Util::String& signature);
    bool hasChannel() const { return channel_ != nullptr; } // [any-thread]
    // The engine's answer on the panel (Engine::PanelConnected or
    // PanelNotConnected); 0 without a channel. [any-thread]
    int32_t checkConnection() const;
    // Bytes waiting on a port; 0 without a channel. [any-thread]
    int32_t bytesAvailable(int32_t port) const;
    // Reads one waiting message of a port into `buffer`. [any-thread]
    void read(int32_t port, void* buffer, int32_t capacity) const;

private:
    struct Slots {
        Engine::Open open = nullptr;
        Engine::IsCloseOK isCloseOK = nullptr;
        Engine::Close close = nullptr;
        Engine::IsMixerRunning isMixerRunning = nullptr;
        Engine::ChannelCreate channelCreate = nullptr;
        Engine::ConnectionCheck connectionCheck = nullptr;
        Engine::ChannelDestroy channelDestroy = nullptr;
        Engine::MessageFits messageFits = nullptr;
        Engine::Send send = nullptr;
        Engine::Read read = nullptr;
        Engine::BytesAvailable bytesAvailable = nullptr;
    };

    static bool platformSupported();
    static std::unique_ptr<Platform::DynamicLibrary> findLibrary();
    static bool versionAccepted(const Platform::DynamicLibrary& library);
    static bool bind(const Platform::DynamicLibrary& library, Slots& slots);
    void destroyChannel();

    std::unique_ptr<Platform::DynamicLibrary> library_;
    uint32_t loadCount_ = 0;
    Engine::ChannelHandle channel_ = nullptr;
    Slots slots_;
};

} // namespace ReWire
