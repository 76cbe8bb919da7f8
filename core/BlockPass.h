#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/CoreRecords.h"
#include "core/EntryProtocol.h"
#include "param/ElementSet.h"
#include "platform/ThreadId.h"

// The instance's processing pass: splits each block into sub-blocks for the
// instance's element set, keeps the host's transport and the block's analysis flag, the
// block-size history, the processing mark with the tick of the last block, and
// which thread processes. Everything on the block path is [audio-thread] and
// allocates nothing; the tests of the marks are [any-thread].
class BlockPass {
public:
    static constexpr size_t TransportSize = EntryProtocol::Layout::Transport::Size;
    static constexpr size_t BlockHistorySize = 19;
    static constexpr uint32_t FreeHistoryEntry = 0xFFFFFFFFu;
    static constexpr uint32_t ProcessingGraceMs = 2500;
    static constexpr size_t MaxSideBusChannels = 64;

    explicit BlockPass(uint32_t channelCount);

    // Steps of one block with frames: marks, transport copy, history, pending
    // commands, the sub-blocks; then the mark is cleared. [audio-thread]
    void run(const CoreRecords::Process& block, ElementSet& elements);
    // The element set applies every pending change at once, on the calling
    // thread marked as the processing one. [audio-thread]
    void settle(ElementSet& elements);
    // The host stopped its run: forget the last block. [any-thread]
    void forgetLastBlock();
    // A new channel count from a reconfiguration; allocates. [any-thread], not while a block runs
    void setChannelCount(uint32_t channelCount);

    // Runs `call` with the calling thread marked as the processing thread, then
    // puts the previous mark back. [any-thread]
    template <typename Call>
    auto asProcessingThread(Call&& call);

    bool isProcessing() const;                // a pass runs, or one began < 2500 ms ago
    bool isAudioFlowingBetweenBlocks() const; // no pass runs and one began < 2500 ms ago
    bool isProcessingThread() const;

    const std::array<uint8_t, TransportSize>& transport() const { return transport_; }
    bool transportValid() const { return transportValid_; }
    double transportSamplePosition() const;
    std::optional<double> samplePosition() const; // nothing before a block brought a transport
    // Flag A of the block being processed. [audio-thread]
    bool analysisPass() const { return analysisPass_; }

    std::array<uint32_t, BlockHistorySize> blockSizeHistory() const { return blockSizeHistory_; }
    void setBlockSizeHistoryEnabled(bool on) { blockSizeHistoryEnabled_ = on; }

private:
    void markProcessingThread(uint32_t thread, bool valid);
    void recordBlockSize(uint64_t frames);
    void prepareSideBuses(const CoreRecords::Process& block);
    void processSubBlocks(const CoreRecords::Process& block, ElementSet& elements);

    uint32_t channelCount_;

    std::atomic<bool> processing_{false};
    std::atomic<uint32_t> lastBlockTick_{0}; // 0: no block yet
    std::atomic<uint32_t> processingThread_{0};
    std::atomic<bool> processingThreadValid_{false};

    std::array<uint8_t, TransportSize> transport_{};
    bool transportValid_ = false;
    bool analysisPass_ = false;
    bool blockSizeHistoryEnabled_ = true;
    std::array<uint32_t, BlockHistorySize> blockSizeHistory_;
    size_t blockSizeHistoryUsed_ = 0; // the entries before it are filled

    std::vector<float*> mainChannels_;
    std::array<std::array<float*, MaxSideBusChannels>, CoreRecords::Process::MaxSideBuses> sideChannels_{};
    std::array<ElementSet::SideBus, CoreRecords::Process::MaxSideBuses> sideBuses_{};
};

template <typename Call>
auto BlockPass::asProcessingThread(Call&& call)
{
    struct Restore {
        BlockPass& pass;
        uint32_t thread;
        bool valid;
        ~Restore() { pass.markProcessingThread(thread, valid); }
    };
    const Restore restore{*this, processingThread_.load(), processingThreadValid_.load()};
    markProcessingThread(Platform::currentThreadId(), true);
    return call();
}
