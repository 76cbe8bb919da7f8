#pragma once
#include <cstdint>

namespace Shuttle {

// One entry of the read-ahead queue from the shuttle's disk thread to the
// audio thread. Every entry belongs to one repaired file, its generation;
// the audio side skips entries of a generation that is no longer live.
struct PlaybackRecord {
    enum class Kind : uint32_t {
        Start,  // the file is open: `channels` and `length` frames
        Frames, // `frames` frames of the file, interleaved, at `sampleStart` of the playback ring
        Failed, // the file could not be read past the frames before this entry
        None,   // the answer to a want: no repaired file could be opened
    };
    Kind kind = Kind::Start;
    uint32_t generation = 0;
    uint32_t channels = 0; // of the file, for Start and Frames
    uint32_t frames = 0;
    uint64_t length = 0;
    uint64_t sampleStart = 0;
};

} // namespace Shuttle
