#pragma once
#include <cstdint>

#include "core/EntryProtocol.h"
#include "core/HostContext.h"
#include "core/PluginCoreCallback.h"
#include "util/Text.h"

// The records the entry dispatcher hands to the instance, already unpacked
// from the wrapper's bytes (see EntryProtocol::Layout).
namespace CoreRecords {

struct Creation { // selector 1
    PluginCoreCallbackFn callback = nullptr;
    void* wrapperHandle = nullptr;
    Util::String name;
    HostContext hostContext;
    float sampleRate = 0.0f;
    uint32_t channelConfiguration = 0;
    bool recording = false;
};

struct Drain { // selector 2: six caller pointers
    uint32_t* status;
    uint32_t* constant;
    uint32_t* count;
    uint64_t* entries; // may be null
    uint64_t* droppedEntries;
    uint64_t* recordingStartTick;
};

struct SideBus {
    float** channels = nullptr;
    uint32_t channelCount = 0;
};

struct Process { // selector 22
    static constexpr uint32_t MaxSideBuses = EntryProtocol::Layout::Process::MaxSideBuses;
    uint64_t frameCount = 0;
    float** channels = nullptr;
    uint8_t* transport = nullptr; // EntryProtocol::Layout::Transport::Size bytes
    uint32_t sideBusCount = 0;
    uint32_t beforeBlockCount = 0;
    const uint8_t* beforeBlockItems = nullptr; // EntryProtocol::Layout::Process::BeforeBlockItemsSize bytes
    SideBus sideBuses[MaxSideBuses];
    bool analysisPass = false; // the host analyses the audio and keeps nothing that comes out
};

struct EditorEvent { // selectors 29 and 30
    uint32_t words[5] = {0, 0, 0, 0, 0}; // kind, x, y, modifiers, then the drag flag (29) or wheel step (30)
    bool useCurrentPoint = false;        // 30 only
    uint32_t answer = 0;
};

} // namespace CoreRecords
