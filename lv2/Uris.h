#pragma once
#include <lv2/urid/urid.h>

namespace Lv2 {

// The URIs of the bundle (RELAY_LV2_URI is the base CMake gives the Turtle
// files too) and the URIDs the plug-in works with, mapped once at instantiation.
struct Uris {
    static constexpr const char* Base = RELAY_LV2_URI;
    static constexpr const char* Stereo = RELAY_LV2_URI "/stereo";
    static constexpr const char* Mono = RELAY_LV2_URI "/mono";
    static constexpr const char* Ui = RELAY_LV2_URI "/ui";
    static constexpr const char* EditorInterface = RELAY_LV2_URI "#editor-interface";
    static constexpr const char* StateChunk = RELAY_LV2_URI "#state-chunk";

    // All 0 without a map: the plug-in then reads no transport and keeps no state.
    explicit Uris(const LV2_URID_Map* map);

    LV2_URID atomBlank = 0, atomObject = 0, atomFloat = 0, atomDouble = 0, atomLong = 0, atomInt = 0, atomChunk = 0;
    LV2_URID timePosition = 0, timeFrame = 0, timeSpeed = 0;
    LV2_URID sampleRate = 0, maxBlockLength = 0, nominalBlockLength = 0;
    LV2_URID stateChunk = 0;
};

} // namespace Lv2
