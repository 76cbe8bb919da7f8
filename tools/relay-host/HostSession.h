#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "PluginLibrary.h"
#include "SoundFile.h"

// Plays the format wrapper for one plug-in instance: builds every record byte
// by byte, answers the reverse calls, and renders sound files block by block.
class HostSession {
public:
    struct Options {
        std::string hostName = "relay-host";
        std::string hostVersion;          // e.g. "11.3.1"; empty: none given
        uint32_t formatIdentifier = 2;    // "VST"
        std::string instanceName = "Relay 1";
        bool verbose = false;
    };

    HostSession(const PluginLibrary& library, Options options);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    std::vector<uint8_t> pluginInformation() const; // selector 0, the 7764-byte record

    void create(float sampleRate, uint32_t channelConfiguration, bool recording = false);
    void activate();
    void deactivate();
    void destroy();
    void switchRunState(uint32_t a, uint32_t b, uint32_t lockIndex = 0);
    void idle();                                     // selector 39
    void notifyProcessingStopped();                  // selector 26
    int32_t propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex = 1);

    struct RenderPass {
        uint32_t blockSize = 512;
        double startPosition = 0.0;
        bool playing = true;
        bool flagA = false;
        bool flagB = false;
        uint32_t idleEveryBlocks = 0; // call the idle service every N blocks (0: never)
    };
    // Renders the file in place through selector 22.
    void render(SoundFile& sound, const RenderPass& pass);

    int32_t call(uint32_t selector, uint32_t lockIndex, void* record) const;
    void* instance() const { return instance_; }

private:
    static int32_t reverseCall(int32_t protocol, uint32_t selector, uint32_t index, void* handle, void* record);
    int32_t answer(uint32_t selector, uint32_t index, void* record);
    std::vector<uint8_t> hostContext() const;

    const PluginLibrary& library_;
    Options options_;
    std::string hostText_;
    void* instance_ = nullptr;
};

// Channel configuration code for a channel count: mono, stereo, LRC/Quad/5.0/5.1/7.0/7.1,
// otherwise the plain multichannel codes.
uint32_t channelConfigurationFor(int channels);
