#pragma once
#include <cstdint>

namespace Shuttle {

// How long the audio side has been silent, on the millisecond tick that
// wraps: its last block arrived at `lastBlock`, and it last finished waiting
// for the disk at `activeAt` (a block held up by the disk is no silence), or
// NoWait. Either may lie after `now`, when the question was put before they
// came. A wait is forgotten (NoWait) once it is older than any limit, so that
// the wrapping tick never makes an old one look new.
struct Silence {
    static constexpr uint32_t NoWait = 0;

    static bool longerThan(uint32_t limitMs, uint32_t now, uint32_t lastBlock, uint32_t activeAt)
    {
        const bool waitIsLater = activeAt != NoWait && int32_t(activeAt - lastBlock) > 0;
        const uint32_t latest = waitIsLater ? activeAt : lastBlock;
        return int32_t(now - latest) > int32_t(limitMs);
    }
};

} // namespace Shuttle
