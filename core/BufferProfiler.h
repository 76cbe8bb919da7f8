#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/BufferProfilerRegistry.h"
#include "util/Text.h"

// Measures one instrumented function of the audio path, block by block: how
// long each call took against the block's real-time budget (frames / sample
// rate). The per-block log is preallocated at construction; the audio side
// writes each block's raw clock ticks into it with atomics and no lock, so
// measuring a block never allocates and never waits; the reading side turns
// ticks into time with the registry's calibration. Blocks above the dropout threshold raise an
// alert that the user-interface side takes with takeAlert(). The process-wide
// settings (threshold, pause, time source) are BufferProfilerRegistry's.
class BufferProfiler {
public:
    static constexpr size_t DefaultCapacity = 8192; // blocks kept; older ones are overwritten

    // One logged block.
    struct Block {
        uint64_t number = 0; // counted from 0 since the last clearLog()
        uint64_t frames = 0;
        uint64_t nanoseconds = 0;
        float sampleRate = 0.0f;
        double budgetNanoseconds() const;
        double loadPercent() const; // time over budget, in percent
    };

    // Registers itself with the registry; allocates the log. [any-thread], not audio
    explicit BufferProfiler(Util::String name, Util::String group = {}, Util::String parent = {},
                            size_t capacity = DefaultCapacity);
    ~BufferProfiler(); // unregisters [any-thread], not audio
    BufferProfiler(const BufferProfiler&) = delete;
    BufferProfiler& operator=(const BufferProfiler&) = delete;

    const Util::String& name() const { return name_; }
    const Util::String& group() const { return group_; }
    const Util::String& parent() const { return parent_; }

    // The start of a measured call, in ticks. [audio-thread]
    uint64_t begin() const { return registry_.now(); }
    // The end of the call begun at `started`, which processed `frames` at
    // `sampleRate`: logs it unless paused, and counts a dropout when its load
    // is above the threshold. [audio-thread]
    void end(uint64_t started, uint64_t frames, float sampleRate);

    // The logged blocks still held, oldest first. [ui-thread]
    std::vector<Block> log() const;
    // Forgets every logged block and the counts. [ui-thread]
    void clearLog();
    // The tab-separated per-block figures, headed by the profiler's name and
    // the sampling rate. [ui-thread]
    Util::String logText() const;

    uint64_t blocksMeasured() const { return written_.load(std::memory_order_acquire) - cleared_.load(); }
    uint64_t dropouts() const { return dropouts_.load(std::memory_order_acquire); }
    // The highest load above the threshold since the last call, if any. [ui-thread]
    std::optional<double> takeAlert();

private:
    void raiseAlert(float load);

    struct Slot {
        std::atomic<uint64_t> sequence{0}; // block number + 1 once complete; 0 while empty or being written
        std::atomic<uint64_t> frames{0};
        std::atomic<uint64_t> ticks{0};
        std::atomic<float> sampleRate{0.0f};
    };

    BufferProfilerRegistry& registry_;
    Util::String name_, group_, parent_;
    std::unique_ptr<Slot[]> slots_;
    size_t capacity_;
    size_t nextSlot_ = 0; // written_ % capacity_, kept by the audio side without a division
    std::atomic<uint64_t> written_{0}; // blocks written since construction
    std::atomic<uint64_t> cleared_{0}; // value of written_ at the last clearLog()
    std::atomic<uint64_t> dropouts_{0};
    std::atomic<float> alertLoad_{0.0f}; // 0: no alert pending
    std::atomic<float> lastSampleRate_{0.0f};
};
