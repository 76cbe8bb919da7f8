#include "core/BlockPass.h"

#include "core/RecordView.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cstring>

namespace {
using Transport = EntryProtocol::Layout::Transport;
}

BlockPass::BlockPass(uint32_t channelCount) : channelCount_(channelCount)
{
    blockSizeHistory_.fill(FreeHistoryEntry);
    mainChannels_.assign(channelCount_, nullptr);
}

void BlockPass::setChannelCount(uint32_t channelCount)
{
    channelCount_ = channelCount;
    mainChannels_.assign(channelCount_, nullptr);
}

void BlockPass::markProcessingThread(uint32_t thread, bool valid)
{
    processingThread_ = thread;
    processingThreadValid_ = valid;
}

void BlockPass::run(const CoreRecords::Process& block, ElementSet& elements)
{
    // Release stores: the flags are read as flags on other threads, and a
    // sequentially consistent store costs a full barrier on every block.
    constexpr auto release = std::memory_order_release;
    const uint32_t tick = Platform::tickCount();
    lastBlockTick_.store(tick ? tick : 1, release); // 0 means "no block yet"
    processing_.store(true, release);
    processingThread_.store(Platform::currentThreadId(), release);
    processingThreadValid_.store(true, release);

    transportValid_ = block.transport != nullptr;
    if (block.transport)
        std::memcpy(transport_.data(), block.transport, TransportSize);
    analysisPass_ = block.analysisPass;
    recordBlockSize(block.frameCount);
    elements.runPendingCommands();
    processSubBlocks(block, elements);

    processingThreadValid_.store(false, release);
    processing_.store(false, release);
}

void BlockPass::settle(ElementSet& elements)
{
    markProcessingThread(Platform::currentThreadId(), true);
    elements.runPendingCommands();
    processingThreadValid_ = false;
}

void BlockPass::forgetLastBlock()
{
    processing_ = false;
    lastBlockTick_ = 0;
}

void BlockPass::recordBlockSize(uint64_t frames)
{
    if (!blockSizeHistoryEnabled_ || blockSizeHistoryUsed_ == blockSizeHistory_.size())
        return;
    blockSizeHistory_[blockSizeHistoryUsed_++] = uint32_t(frames);
}

void BlockPass::prepareSideBuses(const CoreRecords::Process& block)
{
    const uint32_t buses = std::min(block.sideBusCount, CoreRecords::Process::MaxSideBuses);
    for (uint32_t b = 0; b < buses; ++b) {
        const auto& bus = block.sideBuses[b];
        uint32_t count = std::min<uint32_t>(bus.channelCount, MaxSideBusChannels);
        if (!bus.channels)
            count = 0;
        const bool holdsNull = count > 0 && std::any_of(bus.channels, bus.channels + count, [](float* p) { return !p; });
        if (holdsNull)
            count = bus.channels[0] ? 1 : 0; // a broken list passes as its first channel alone
        sideBuses_[b] = {sideChannels_[b].data(), count};
    }
}

void BlockPass::processSubBlocks(const CoreRecords::Process& block, ElementSet& elements)
{
    prepareSideBuses(block);
    const uint32_t buses = std::min(block.sideBusCount, CoreRecords::Process::MaxSideBuses);
    const uint64_t maxSub = elements.maxSubBlockSize();
    const RecordView transport(transport_.data());
    const bool playing = block.transport && transport.get(Transport::Playing) != 0;

    uint64_t offset = 0;
    while (offset < block.frameCount) {
        const uint64_t n = std::min(block.frameCount - offset, maxSub);
        for (uint32_t c = 0; c < channelCount_; ++c)
            mainChannels_[c] = block.channels && block.channels[c] ? block.channels[c] + offset : nullptr;
        for (uint32_t b = 0; b < buses; ++b)
            for (uint32_t c = 0; c < sideBuses_[b].channelCount; ++c)
                sideChannels_[b][c] = block.sideBuses[b].channels[c] + offset;
        elements.processSubBlock(uint32_t(n), mainChannels_.data(), channelCount_, sideBuses_.data(), buses);
        if (playing)
            transport.set(Transport::SamplePosition, transport.get(Transport::SamplePosition) + double(n));
        offset += n;
    }
    std::fill(mainChannels_.begin(), mainChannels_.end(), nullptr);
}

double BlockPass::transportSamplePosition() const
{
    return RecordView(const_cast<uint8_t*>(transport_.data())).get(Transport::SamplePosition);
}

std::optional<double> BlockPass::samplePosition() const
{
    if (!transportValid_)
        return std::nullopt;
    return transportSamplePosition();
}

bool BlockPass::isProcessing() const
{
    if (processing_.load())
        return true;
    const uint32_t last = lastBlockTick_.load();
    return last != 0 && Platform::tickCount() - last < ProcessingGraceMs;
}

bool BlockPass::isAudioFlowingBetweenBlocks() const
{
    const uint32_t last = lastBlockTick_.load();
    return !processing_.load() && last != 0 && Platform::tickCount() - last < ProcessingGraceMs;
}

bool BlockPass::isProcessingThread() const
{
    return processingThreadValid_.load() && processingThread_.load() == Platform::currentThreadId();
}
