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
// The disk thread is woken at every sixteenth of it (about 170 ms of stereo
// at 48 kHz) and writes into the page cache, so a stall has to last more than
// two seconds to reach the audio thread. The playback ring holds what is read
// ahead; it is made only when a repaired file is first read.
// Each ring must hold at least two frames of the widest format.
struct DiskOptions {
    uint32_t captureSamples = 1u << 18;  // about 2.7 s of stereo at 48 kHz, 1 MiB
    uint32_t playbackSamples = 1u << 18; // the same
    uint32_t records = 2048;
    std::function<void()> pace;
};

} // namespace Shuttle
