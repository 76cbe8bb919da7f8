#pragma once
#include <cstdint>

#include "shuttle/TimelineOffset.h"

namespace Shuttle {

// A request to the shuttle's disk thread from any thread. The disk thread
// first handles the audio side's records that were queued before the request
// (`recordsBefore`), so a close or a time-out comes after the blocks that
// preceded it.
struct DiskControl {
    enum class Kind : uint32_t {
        CloseCapture,    // `offset`: the timeline offset when the close was asked
        ClosePlayback,
        TimeOuts,        // the 100 ms rules, at tick `now`
        RepairedListSet, // a new repaired list waits beside the queue
        Drain,           // answer `ticket` once everything before it is done
    };
    Kind kind = Kind::Drain;
    uint32_t now = 0;
    uint64_t recordsBefore = 0;
    uint64_t ticket = 0;
    TimelineOffset::Snapshot offset;
};

} // namespace Shuttle
