#pragma once
#include "dsp/FFTPool.h"
#include "dsp/ProcessingFFTPool.h"
#include "dsp/ProcessingMemoryPool.h"
#include "platform/CriticalSection.h"
#include "util/AllocationStatistics.h"
#include "util/PoolAllocator.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace DSP {

class Element;
class DSPCommand;

// The services an element asks of its owner (the plug-in instance): scratch
// memory and transforms for the audio thread, the processing lock and test,
// the thread tests, the list of commands in flight, the update request, the
// block size, position reports and the host's transport.
//
// The owner derives from it, gives the processing lock, and marks its block
// passes and settling with the two scopes below so that the processing and
// thread tests answer as they should.
class ElementHost : public ProcessingMemoryPool, public ProcessingFFTPool {
public:
    static constexpr uint32_t kDefaultMaxBlockSize = 8192;
    // The processing test stays true this long after a block pass began.
    static constexpr uint32_t kProcessingHoldMs = 2500;

    // The names of the host's scratch pool, transform pool and their statistics.
    struct PoolNames {
        Util::String memory = "ElementHost PoolAllocator";
        Util::String fft = "ElementHost FFTPool";
        Util::String statistics = "ElementHost Memory Allocs";
    };

    ElementHost() : ElementHost(PoolNames{}) {}
    explicit ElementHost(PoolNames names);
    // Deletes commands still in flight (those a full UI FIFO could not take back).
    ~ElementHost() override;

    // ProcessingMemoryPool, over the scratch pool; every block given and every
    // request refused is counted in the statistics.
    Mark GetPoolMark() const override;
    void* AllocateScratch(std::size_t bytes) override;
    void FreeScratch(void* block, std::size_t bytes) override;
    void RestorePoolMark(Mark mark) override;

    // Whether the audio thread is at work: a block pass runs, or one began less
    // than kProcessingHoldMs ago. [any-thread]
    virtual bool IsProcessing() const;
    // The lock the audio thread holds while it processes. [any-thread]
    virtual Platform::CriticalSection& GetProcessingLock() = 0;
    // Whether the host restarted its transport since the last block; elements then
    // restart their transport values. [audio-thread]
    virtual bool HasTransportJumped() const { return false; }
    // The calling thread is the one marked as processing. [any-thread]
    virtual bool IsProcessingThread() const;
    // The calling thread may touch audio-side state: it is the processing thread,
    // or nothing processes. [any-thread]
    virtual bool MayTouchAudioState() const;

    // Records a command in flight for `element`. [any-thread] but the audio thread
    virtual void RegisterCommand(Element* element, DSPCommand* command);
    // Forgets that pair. [any-thread] but the audio thread
    virtual void UnregisterCommand(Element* element, DSPCommand* command);
    // Marks the instance's state for an update. [any-thread]
    virtual void RequestUpdate();
    // The longest sub-block an element is handed. [any-thread]
    virtual uint32_t GetMaxBlockSize() const { return kDefaultMaxBlockSize; }
    // Frames processed so far in this call, after every sub-block but the last.
    // [audio-thread]
    virtual void ReportPosition(uint32_t framesSoFar);

    // Parameter gestures of the element's parameter `index`, for the host's
    // automation (begin and end of an edit). [ui-thread]
    virtual void BeginParameterEdit(Element& element, uint32_t index);
    virtual void EndParameterEdit(Element& element, uint32_t index);

    // Transport queries; each answers nothing when the host did not say. [audio-thread]
    virtual std::optional<uint32_t> GetPlayState() const { return std::nullopt; } // 0 to 4
    virtual std::optional<double> GetTempo() const { return std::nullopt; }       // only above 0
    virtual std::optional<bool> IsLooping() const { return std::nullopt; }
    virtual std::optional<double> GetLoopStart() const { return std::nullopt; }
    virtual std::optional<double> GetLoopEnd() const { return std::nullopt; }
    virtual std::optional<std::pair<uint32_t, uint32_t>> GetTimeSignature() const { return std::nullopt; }
    virtual std::optional<double> GetSamplePosition() const { return std::nullopt; }
    virtual std::optional<double> GetMusicalPosition() const { return std::nullopt; }
    virtual std::optional<double> GetBarStartPosition() const { return std::nullopt; }

    // ProcessingFFTPool, over the transform pool; a transform lent counts as an
    // allocation of no bytes, one not there as a failure.
    void ReserveFFT(uint32_t size, uint32_t count) override;
    FFT* BorrowFFT(uint32_t size) override;
    void ReturnFFT(FFT* fft) override;

    // Grows the scratch pool to at least `bytes`. [ui-thread] & processing lock
    void ReserveScratch(std::size_t bytes);
    const Util::PoolAllocator& GetPoolAllocator() const { return pool_; }
    const FFTPool& GetFFTPool() const { return fftPool_; }
    const Util::AllocationStatistics& GetAllocationStatistics() const { return statistics_; }

    // Commands in flight for `element` (all elements when null). [any-thread]
    std::size_t GetCommandsInFlight(const Element* element = nullptr) const;
    // Deletes what is still registered for `element`; called as it is destroyed.
    // [ui-thread]
    void ReleaseCommandsOf(const Element* element);

    // Tests and clears the update request. [any-thread]
    bool TakeUpdateRequest();
    // The last ReportPosition of the current pass (0 at its start). [any-thread]
    uint32_t GetReportedPosition() const { return reportedPosition_.load(std::memory_order_acquire); }

    // Marks a block pass for its lifetime: processing flag, start time, and the
    // calling thread as the processing thread. [audio-thread]
    class ProcessingPass;
    // Marks the calling thread as the processing thread for its lifetime
    // (settling, parameter reads from the processing side). [any-thread]
    class ProcessingThreadScope;

    // Forgets the time of the last pass: the processing test answers false once
    // no pass runs. [any-thread]
    void ForgetProcessingTime();
    // Whether a block pass runs now. [any-thread]
    bool IsInProcessingPass() const { return inPass_.load(std::memory_order_acquire); }
    // The tick at which the last pass began, if any. [any-thread]
    std::optional<uint32_t> GetLastPassStart() const;

private:
    struct ThreadMark {
        uint32_t threadId = 0;
        bool valid = false;
    };
    ThreadMark SwapProcessingThread(ThreadMark mark);

    Util::PoolAllocator pool_;
    FFTPool fftPool_;
    Util::AllocationStatistics statistics_;
    std::atomic<bool> inPass_{false};
    std::atomic<bool> passStartValid_{false};
    std::atomic<uint32_t> passStart_{0};
    std::atomic<uint32_t> processingThread_{0};
    std::atomic<bool> processingThreadValid_{false};
    std::atomic<bool> updateRequested_{false};
    std::atomic<uint32_t> reportedPosition_{0};
    mutable std::mutex commandsMutex_;
    std::vector<std::pair<const Element*, DSPCommand*>> commands_;
};

class ElementHost::ProcessingThreadScope {
public:
    explicit ProcessingThreadScope(ElementHost& host);
    ~ProcessingThreadScope();
    ProcessingThreadScope(const ProcessingThreadScope&) = delete;
    ProcessingThreadScope& operator=(const ProcessingThreadScope&) = delete;

private:
    ElementHost& host_;
    ThreadMark saved_;
};

class ElementHost::ProcessingPass {
public:
    explicit ProcessingPass(ElementHost& host);
    ~ProcessingPass();
    ProcessingPass(const ProcessingPass&) = delete;
    ProcessingPass& operator=(const ProcessingPass&) = delete;

private:
    ElementHost& host_;
    ProcessingThreadScope thread_;
};

} // namespace DSP
