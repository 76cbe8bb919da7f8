// The LV2 entry of the plug-in: two descriptors (stereo and mono) over
// RelayPlugin, and its extension data (state, worker, options, and the editor
// table its UI library reaches through data-access). Nothing thrown inside
// crosses into the host: a failed instantiation answers no instance.
#include "lv2/EditorInterface.h"
#include "lv2/RelayPlugin.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

using Lv2::RelayPlugin;

RelayPlugin& self(LV2_Handle instance) { return *static_cast<RelayPlugin*>(instance); }

template <uint32_t Channels>
LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features)
{
    try {
        return new RelayPlugin(Channels, sampleRate, features);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TW Relay: no instance: %s\n", e.what());
        return nullptr;
    }
}

void connectPort(LV2_Handle instance, uint32_t port, void* data) { self(instance).connectPort(port, data); }
void activate(LV2_Handle instance) { self(instance).activate(); }
void run(LV2_Handle instance, uint32_t frames) { self(instance).run(frames); }
void deactivate(LV2_Handle instance) { self(instance).deactivate(); }
void cleanup(LV2_Handle instance) { delete static_cast<RelayPlugin*>(instance); }

LV2_Worker_Status work(LV2_Handle instance, LV2_Worker_Respond_Function, LV2_Worker_Respond_Handle, uint32_t,
                       const void*)
{
    return self(instance).work();
}
LV2_Worker_Status workResponse(LV2_Handle instance, uint32_t, const void*) { return self(instance).workResponse(); }

uint32_t getOptions(LV2_Handle, LV2_Options_Option*) { return LV2_OPTIONS_ERR_UNKNOWN; }
uint32_t setOptions(LV2_Handle instance, const LV2_Options_Option* options)
{
    return self(instance).setOptions(options);
}

LV2_State_Status save(LV2_Handle instance, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                      const LV2_Feature* const*)
{
    try {
        return self(instance).save(store, handle);
    } catch (const std::exception&) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}
LV2_State_Status restore(LV2_Handle instance, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                         uint32_t, const LV2_Feature* const*)
{
    try {
        return self(instance).restore(retrieve, handle);
    } catch (const std::exception&) {
        return LV2_STATE_ERR_UNKNOWN;
    }
}

int32_t openEditor(LV2_Handle instance, uint64_t parent) { return self(instance).openEditor(parent); }
void editorSize(LV2_Handle instance, uint32_t* width, uint32_t* height)
{
    *width = self(instance).editorWidth();
    *height = self(instance).editorHeight();
}
uint64_t editorWindow(LV2_Handle instance) { return self(instance).editorWindow(); }
void idleEditor(LV2_Handle instance) { self(instance).idleEditor(); }
void closeEditor(LV2_Handle instance) { self(instance).closeEditor(); }

const LV2_Worker_Interface workerInterface{work, workResponse, nullptr};
const LV2_Options_Interface optionsInterface{getOptions, setOptions};
const LV2_State_Interface stateInterface{save, restore};
const Lv2::EditorInterface editorInterface{openEditor, editorSize, editorWindow, idleEditor, closeEditor};

const void* extensionData(const char* uri)
{
    if (std::strcmp(uri, LV2_WORKER__interface) == 0)
        return &workerInterface;
    if (std::strcmp(uri, LV2_OPTIONS__interface) == 0)
        return &optionsInterface;
    if (std::strcmp(uri, LV2_STATE__interface) == 0)
        return &stateInterface;
    if (std::strcmp(uri, Lv2::Uris::EditorInterface) == 0)
        return &editorInterface;
    return nullptr;
}

const LV2_Descriptor descriptors[] = {
    {Lv2::Uris::Stereo, instantiate<2>, connectPort, activate, run, deactivate, cleanup, extensionData},
    {Lv2::Uris::Mono, instantiate<1>, connectPort, activate, run, deactivate, cleanup, extensionData},
};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
    return index < sizeof descriptors / sizeof descriptors[0] ? &descriptors[index] : nullptr;
}
