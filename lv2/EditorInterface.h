#pragma once
#include <cstdint>

#include <lv2/core/lv2.h>

namespace Lv2 {

// The plug-in's editor as its UI library reaches it: the UI finds this table
// through the host's data-access feature (the plug-in's extension data under
// Uris::EditorInterface) and calls it with the instance that instance-access
// gave it. Every call is [ui-thread]; the instance outlives its UI.
struct EditorInterface {
    // Opens the core's editor inside the parent X11 window; 0 when it opened.
    int32_t (*open)(LV2_Handle instance, uint64_t parentWindow);
    // The editor's size as the plug-in declares it.
    void (*size)(LV2_Handle instance, uint32_t* width, uint32_t* height);
    // The editor's own X11 window; 0 without an open editor.
    uint64_t (*window)(LV2_Handle instance);
    // One editor idle call (its timers and drawing).
    void (*idle)(LV2_Handle instance);
    void (*close)(LV2_Handle instance);
};

} // namespace Lv2
