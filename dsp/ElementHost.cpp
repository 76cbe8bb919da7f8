#include "dsp/ElementHost.h"

#include "dsp/DSPCommand.h"
#include "platform/Clock.h"
#include "platform/ThreadId.h"

#include <algorithm>

namespace DSP {

ElementHost::ElementHost(PoolNames names)
    : pool_(std::move(names.memory)), fftPool_(std::move(names.fft)), statistics_(std::move(names.statistics))
{
}

ElementHost::~ElementHost()
{
    for (auto& [element, command] : commands_)
        delete command;
}

ProcessingMemoryPool::Mark ElementHost::GetPoolMark() const { return pool_.GetMark(); }

void* ElementHost::AllocateScratch(std::size_t bytes)
{
    void* block = pool_.Allocate(bytes);
    if (block)
        statistics_.Allocated(bytes, pool_.GetUsed());
    else
        statistics_.Failed();
    return block;
}

void ElementHost::FreeScratch(void* block, std::size_t bytes) { pool_.Free(block, bytes); }

void ElementHost::RestorePoolMark(Mark mark) { pool_.RestoreMark(mark); }

void ElementHost::ReserveScratch(std::size_t bytes) { pool_.Reserve(bytes); }

bool ElementHost::IsProcessing() const
{
    if (inPass_.load(std::memory_order_acquire))
        return true;
    if (!passStartValid_.load(std::memory_order_acquire))
        return false;
    return Platform::tickCount() - passStart_.load(std::memory_order_acquire) < kProcessingHoldMs;
}

bool ElementHost::IsProcessingThread() const
{
    return processingThreadValid_.load(std::memory_order_acquire) &&
           processingThread_.load(std::memory_order_acquire) == Platform::currentThreadId();
}

bool ElementHost::MayTouchAudioState() const { return IsProcessingThread() || !IsProcessing(); }

void ElementHost::RegisterCommand(Element* element, DSPCommand* command)
{
    std::lock_guard<std::mutex> lock(commandsMutex_);
    commands_.emplace_back(element, command);
}

void ElementHost::UnregisterCommand(Element* element, DSPCommand* command)
{
    std::lock_guard<std::mutex> lock(commandsMutex_);
    const auto it = std::find(commands_.begin(), commands_.end(), std::pair<const Element*, DSPCommand*>(element, command));
    if (it == commands_.end())
        return;
    *it = commands_.back();
    commands_.pop_back();
}

std::size_t ElementHost::GetCommandsInFlight(const Element* element) const
{
    std::lock_guard<std::mutex> lock(commandsMutex_);
    if (!element)
        return commands_.size();
    return std::size_t(std::count_if(commands_.begin(), commands_.end(),
                                     [element](const auto& entry) { return entry.first == element; }));
}

void ElementHost::ReleaseCommandsOf(const Element* element)
{
    std::vector<DSPCommand*> orphans;
    {
        std::lock_guard<std::mutex> lock(commandsMutex_);
        const auto rest = std::stable_partition(commands_.begin(), commands_.end(),
                                                [element](const auto& entry) { return entry.first != element; });
        for (auto it = rest; it != commands_.end(); ++it)
            orphans.push_back(it->second);
        commands_.erase(rest, commands_.end());
    }
    for (DSPCommand* command : orphans)
        delete command;
}

void ElementHost::RequestUpdate() { updateRequested_.store(true, std::memory_order_release); }

bool ElementHost::TakeUpdateRequest() { return updateRequested_.exchange(false, std::memory_order_acq_rel); }

void ElementHost::ReportPosition(uint32_t framesSoFar)
{
    reportedPosition_.store(framesSoFar, std::memory_order_release);
}

void ElementHost::BeginParameterEdit(Element&, uint32_t) {}

void ElementHost::EndParameterEdit(Element&, uint32_t) {}

void ElementHost::ReserveFFT(uint32_t size, uint32_t count) { fftPool_.Reserve(size, count); }

FFT* ElementHost::BorrowFFT(uint32_t size)
{
    FFT* fft = fftPool_.Borrow(size);
    if (fft)
        statistics_.Allocated(0, pool_.GetUsed());
    else
        statistics_.Failed();
    return fft;
}

void ElementHost::ReturnFFT(FFT* fft) { fftPool_.Return(fft); }

void ElementHost::ForgetProcessingTime() { passStartValid_.store(false, std::memory_order_release); }

std::optional<uint32_t> ElementHost::GetLastPassStart() const
{
    if (!passStartValid_.load(std::memory_order_acquire))
        return std::nullopt;
    return passStart_.load(std::memory_order_acquire);
}

ElementHost::ThreadMark ElementHost::SwapProcessingThread(ThreadMark mark)
{
    const ThreadMark previous{processingThread_.load(std::memory_order_acquire),
                              processingThreadValid_.load(std::memory_order_acquire)};
    processingThreadValid_.store(false, std::memory_order_release);
    processingThread_.store(mark.threadId, std::memory_order_release);
    processingThreadValid_.store(mark.valid, std::memory_order_release);
    return previous;
}

ElementHost::ProcessingThreadScope::ProcessingThreadScope(ElementHost& host)
    : host_(host), saved_(host.SwapProcessingThread({Platform::currentThreadId(), true}))
{
}

ElementHost::ProcessingThreadScope::~ProcessingThreadScope() { host_.SwapProcessingThread(saved_); }

ElementHost::ProcessingPass::ProcessingPass(ElementHost& host) : host_(host), thread_(host)
{
    host_.passStart_.store(Platform::tickCount(), std::memory_order_release);
    host_.passStartValid_.store(true, std::memory_order_release);
    host_.reportedPosition_.store(0, std::memory_order_release);
    host_.inPass_.store(true, std::memory_order_release);
}

ElementHost::ProcessingPass::~ProcessingPass() { host_.inPass_.store(false, std::memory_order_release); }

} // namespace DSP
