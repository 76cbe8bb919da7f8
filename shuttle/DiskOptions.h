#pragma once
#include <cstdint>
#include <functional>

namespace Shuttle {

// What the rings between the audio thread and the shuttle's disk thread hold,
// in samples and records, and a hook that runs on the disk thread before each
// block it writes and each read ahead (tests slow the disk with it).
struct DiskOptions {
    uint32_t captureSamples = 1u << 20;  // about 11 s of stereo at 48 kHz
    uint32_t playbackSamples = 1u << 18; // about 2.7 s
    uint32_t records = 4096;
    std::function<void()> pace;
};

} // namespace Shuttle
