#pragma once
#include <cstdint>
#include <functional>

namespace Shuttle {

// What the rings between the audio thread and the shuttle's disk thread hold,
// in samples and records, and a hook that runs on the disk thread before each
// block it writes and each read ahead (tests slow the disk with it).
//
// The capture ring is what a real-time capture can lose to a stalled disk
// before the audio thread must wait for it; an offline render waits anyway.
// Each ring must hold at least two frames of the widest format.
struct DiskOptions {
    uint32_t captureSamples = 1u << 19;  // about 5.5 s of stereo at 48 kHz
    uint32_t playbackSamples = 1u << 18; // about 2.7 s
    uint32_t records = 2048;
    std::function<void()> pace;
};

} // namespace Shuttle
