#pragma once
#include <cstddef>

namespace DSP {

// Scratch memory for the audio thread. Blocks come from a preallocated pool and
// go back in reverse order, or all at once when a mark taken before is restored.
class ProcessingMemoryPool {
public:
    using Mark = std::size_t;

    virtual ~ProcessingMemoryPool() = default;
    virtual Mark GetPoolMark() const = 0;                        // [audio-thread]
    // Null when the pool cannot hold `bytes` more. [audio-thread]
    virtual void* AllocateScratch(std::size_t bytes) = 0;
    virtual void FreeScratch(void* block, std::size_t bytes) = 0; // [audio-thread]
    virtual void RestorePoolMark(Mark mark) = 0;                 // [audio-thread]
};

} // namespace DSP
