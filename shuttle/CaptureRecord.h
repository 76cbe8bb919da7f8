#pragma once
#include <cstdint>

#include "shuttle/TimelineOffset.h"

namespace Shuttle {

// One entry of the queue from the audio thread to the shuttle's disk thread:
// a captured block with what the audio thread knew when it came, or one of the
// audio side's playback requests, in the order they happened.
struct CaptureRecord {
    enum class Kind : uint32_t {
        Block,          // frames x channels interleaved samples at `sampleStart` of the capture ring
        ReadStarted,    // a read came after writes: the capture pass is no longer open
        WantPlayback,   // the audio side needs a repaired file and none waits in the playback queue
        ClaimPlayback,  // the audio side plays the file announced under `generation`
        DropPlayback,   // the audio side gave up the file under `generation` after a failed read
    };
    Kind kind = Kind::Block;
    uint32_t frames = 0;
    uint32_t channels = 0;       // of the block: the instance's channel count then
    uint32_t stamp = 0;          // the tick when the block was written
    uint32_t formatChannels = 0; // the audio format then
    uint32_t sampleRate = 0;
    uint32_t generation = 0;
    bool reference = false;      // reference mode then
    bool positionValid = false;
    int64_t position = 0;        // the host's transport position at the block
    uint64_t sampleStart = 0;
    TimelineOffset::Snapshot offset; // for a clip that a channel change closes at this block
};

} // namespace Shuttle
