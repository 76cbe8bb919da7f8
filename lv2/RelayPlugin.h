#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/worker/worker.h>

#include "lv2/HostTransport.h"
#include "lv2/RelayHostCallbacks.h"
#include "lv2/Uris.h"
#include "wrapper/PluginInstance.h"
#include "wrapper/PluginLibrary.h"

namespace Lv2 {

// One LV2 instance of the relay: the core loaded from beside the module, one
// core instance entered only through PluginCoreCallback (Wrapper::PluginInstance),
// and the LV2 side around it: ports, transport, the pass control, the latency
// port, the idle service on the host's worker, options, state and the editor.
// The LV2 threading classes map onto the core's lock indices: run() and the
// worker's response are the audio side (index 0); instantiation, state and the
// UI's editor calls are the user-interface side (index 1).
class RelayPlugin {
public:
    static constexpr uint32_t MaxChannels = 2;
    // The pass control: 0 plays back (a repaired clip when one is ready, else
    // the host's audio unchanged), 1 sends (flag A: the pass is captured).
    static constexpr float SendPass = 1.0f;

    // Ports, in the Turtle's order: the audio inputs, the audio outputs, then these.
    struct Ports {
        uint32_t channels;
        constexpr uint32_t input(uint32_t c) const { return c; }
        constexpr uint32_t output(uint32_t c) const { return channels + c; }
        constexpr uint32_t control() const { return 2 * channels; }
        constexpr uint32_t pass() const { return 2 * channels + 1; }
        constexpr uint32_t latency() const { return 2 * channels + 2; }
    };

    // Loads the core and creates its instance; throws std::runtime_error when
    // either fails. [instantiation-thread]
    RelayPlugin(uint32_t channels, double sampleRate, const LV2_Feature* const* features);
    RelayPlugin(const RelayPlugin&) = delete;
    RelayPlugin& operator=(const RelayPlugin&) = delete;

    void connectPort(uint32_t port, void* data); // [audio-thread]
    void activate();                             // [instantiation-thread]
    // One block: the inputs copied to the outputs, processed there in place by
    // the core's block selector while the transport rolls (a host that sends
    // no transport rolls). Allocates nothing and never waits. [audio-thread]
    void run(uint32_t frames);
    void deactivate(); // [instantiation-thread]

    // Worker: the core's idle service, asked for by run(). [worker-thread]
    LV2_Worker_Status work();
    LV2_Worker_Status workResponse(); // [audio-thread]

    // Options: a new sample rate reconfigures the core. [instantiation-thread]
    uint32_t setOptions(const LV2_Options_Option* options);

    // State: the core's state chunk as one binary property. [ui-thread]
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    // A chunk the core refuses leaves the instance as it was: LV2_STATE_ERR_UNKNOWN.
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    // The editor, for the UI library. [ui-thread]
    int32_t openEditor(uint64_t parentWindow);
    uint64_t editorWindow();
    void idleEditor();
    void closeEditor();
    uint32_t editorWidth() const { return editorWidth_; }
    uint32_t editorHeight() const { return editorHeight_; }

private:
    void readFeatures(const LV2_Feature* const* features);
    void readOptions(const LV2_Options_Option* options);
    bool portsConnected() const;
    void processBlock(uint32_t frames);
    // The pass control moved: a send pass begins or ends.
    void changePass(bool send);
    // With the host's worker: asks it for the idle service when it is due.
    void scheduleIdle(uint32_t frames);
    void readEditorSize();

    const uint32_t channels_;
    const Ports ports_;
    float sampleRate_;
    uint32_t maxBlockLength_ = 0;

    const LV2_URID_Map* map_ = nullptr;
    const LV2_Worker_Schedule* worker_ = nullptr;
    const LV2_Options_Option* options_ = nullptr;

    // Destroyed in reverse: the core instance, then the callbacks it calls, then the library.
    Wrapper::PluginLibrary library_;
    RelayHostCallbacks host_;
    Wrapper::PluginInstance session_;
    Uris uris_;
    HostTransport transport_;

    std::array<const float*, MaxChannels> inputs_{};
    std::array<float*, MaxChannels> outputs_{};
    const LV2_Atom_Sequence* control_ = nullptr;
    const float* pass_ = nullptr;
    float* latency_ = nullptr;
    bool connected_ = false; // every audio port has a buffer

    bool sending_ = false;
    uint32_t framesSinceIdle_ = 0;
    uint32_t idlePeriod_ = 0;
    std::atomic<bool> idlePending_{false};
    uint32_t editorWidth_ = 0, editorHeight_ = 0;
};

} // namespace Lv2
