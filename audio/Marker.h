#pragma once
#include "util/Text.h"

#include <cstdint>

namespace Audio {

// A cue point of a WAV file, with its optional label and note; a region when
// its flag is set and it does not end before it starts.
struct Marker {
    uint32_t startFrame = 0;
    uint32_t endFrame = 0;
    bool isRegion = false;
    Util::String label;
    Util::String note;

    bool IsRegion() const { return isRegion && endFrame >= startFrame; }
    bool operator==(const Marker&) const = default;
};

} // namespace Audio
