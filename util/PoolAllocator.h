#pragma once
#include "util/Text.h"

#include <cstddef>
#include <memory>

namespace Util {

// Scratch memory for the audio thread: one preallocated arena handed out as a
// stack. Allocation never reaches the heap; a request that does not fit answers
// null. Callers take a mark before a piece of work and restore it afterwards, so
// whatever the work took is given back at once.
class PoolAllocator {
public:
    using Mark = std::size_t;
    static constexpr std::size_t kAlignment = 32;

    explicit PoolAllocator(String name, std::size_t capacityBytes = 0);
    PoolAllocator(const PoolAllocator&) = delete;
    PoolAllocator& operator=(const PoolAllocator&) = delete;

    const String& GetName() const { return name_; }

    // Makes room for at least `bytes`; never shrinks. Only while nothing is
    // taken (throws std::logic_error otherwise). [ui-thread] & processing lock
    void Reserve(std::size_t bytes);

    // `bytes` rounded up to the alignment, or null when the arena is full.
    // [audio-thread]
    void* Allocate(std::size_t bytes);
    // Gives back the most recent block; an older block is given back when the
    // mark before it is restored. [audio-thread]
    void Free(void* block, std::size_t bytes);

    Mark GetMark() const { return used_; }     // [audio-thread]
    void RestoreMark(Mark mark);               // [audio-thread]

    std::size_t GetCapacity() const { return capacity_; }
    std::size_t GetUsed() const { return used_; }

    static std::size_t RoundUp(std::size_t bytes) { return (bytes + kAlignment - 1) / kAlignment * kAlignment; }

private:
    String name_;
    std::unique_ptr<std::byte[]> storage_;
    std::byte* base_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

} // namespace Util
