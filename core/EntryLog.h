#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/PluginCore.h"

// The recorded-entry list of selector 2: while recording is on, one 8-byte entry
// per processed block (the tick in the high word, the frame count in the low).
// The audio side only tries the list's lock; a block that finds it taken, or
// the list full, is counted as dropped instead.
class EntryLog {
public:
    static constexpr size_t Capacity = 100000;
    static constexpr uint32_t Constant = 200; // answered with every drain

    // Starts recording with room for Capacity entries; allocates. [any-thread], not audio
    void start();
    bool recording() const { return recording_.load(std::memory_order_acquire); }
    // Adds the entry of one block. [audio-thread]
    void record(uint64_t frames);
    // Answers the status, the constant, the count and the two figures; with an
    // entry buffer also copies the entries out and empties the list. [any-thread]
    void drain(const CoreRecords::Drain& request);

private:
    std::mutex mutex_; // the audio side only tries it
    std::atomic<bool> recording_{false};
    std::vector<uint64_t> entries_;
    std::atomic<uint64_t> dropped_{0};
    uint64_t startTick_ = 0;
    std::atomic<uint32_t> status_{0};
};
