#pragma once
#include "param/ElementSet.h"
#include "dsp/DSPSetImpl.h"
#include "util/Trackable.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

namespace DSP {

namespace Global {
class Global;
}
class ShuttleElement;

// The product's element set: "Global" and "Shuttle". The plug-in instance owns
// it and drives it:
//   activation      Start / Stop (nesting like the elements' activation)
//   format change   SetFormat: each element is offered the new format; one that
//                   refuses ("Shuttle") is replaced by a new one
//   block pass      BeforeBlock, RunPendingCommands, ProcessSubBlock per
//                   sub-block of at most GetMaxSubBlockSize frames, AfterBlock
//   reset, settle   Reset, RunPendingCommands / Settle
//   timers          PumpAll and DispatchAll on the user-interface side
class DSPSet final : public DSPSetImpl {
public:
    static constexpr uint32_t kMaxBeforeBlockItems = 16;

    // A render request of the host (see HandleRenderRequest).
    using RenderRequest = ::ElementSet::RenderRequest;

    DSPSet(ElementHost& host, float sampleRate, uint32_t channelFormat);
    ~DSPSet() override;

    std::shared_ptr<Global::Global> GetGlobal() const;
    // The current shuttle element (a format change replaces it). [ui-thread]
    std::shared_ptr<ShuttleElement> GetShuttle() const;
    float GetSampleRate() const { return sampleRate_; }
    uint32_t GetChannelFormat() const { return channelFormat_; }
    // The channel formats the product offers (every format with channels).
    static std::vector<uint32_t> GetOfferedChannelFormats();

    // Activates every element; the outermost start also sizes the host's scratch
    // pool and resets the elements. [ui-thread] or the audio thread, not processing
    void Start();
    // Deactivates every element. [ui-thread] or the audio thread, not processing
    void Stop();
    uint32_t GetStartCount() const { return startCount_; }
    // Offers the new format to each element; replaces the ones that refuse by
    // new ones, started and reset as the set is, and emits elementReplaced with
    // the name. [ui-thread]
    void SetFormat(float sampleRate, uint32_t channelFormat);
    Util::Signal<void(const Util::String& name)> elementReplaced;

    // Keeps the block's before-block items (at most kMaxBeforeBlockItems) until
    // AfterBlock. [audio-thread]
    void BeforeBlock(std::span<const uint64_t> items);
    std::span<const uint64_t> GetBeforeBlockItems() const;
    // Every element runs its pending commands (a process call of 0 frames).
    // [audio-thread] or any thread holding the processing lock
    void RunPendingCommands();
    // Every element processes `frames` frames of the channels in place (at most
    // GetMaxSubBlockSize frames). [audio-thread]
    void ProcessSubBlock(float* const* channels, uint32_t channelCount, uint32_t frames);
    void AfterBlock(); // [audio-thread]
    uint32_t GetMaxSubBlockSize() const;
    // Resets every element. [any-thread]
    void Reset();

    // The sum of every element's parameter count. [any-thread]
    uint32_t GetParameterCount() const;
    // Applies every pending parameter change at once. [audio-thread] or the
    // processing lock held
    void Settle();
    // The host's run state (flag A of the run-state switch). [any-thread]
    void SetRunState(bool running, bool fromUserInterface);
    bool IsRunning() const { return running_.load(std::memory_order_acquire); }
    Util::Signal<void(bool running, bool fromUserInterface)> runStateChanged;

    // Host forwards that this product's elements have no use for; each keeps
    // what it received and answers neutrally. [any-thread]
    uint32_t ExchangeHostWord(uint32_t word);          // answers the word unchanged
    void ReceiveHostValue(float value);
    void NotifyHost();
    void HandleRenderRequest(RenderRequest& request); // flag unchanged, answer 0
    bool AskHost(uint32_t a, uint32_t b);             // answers yes, then notifies
    // The three values of the host's settings request (an address, a word and a flag).
    struct HostContext {
        uint64_t pointer = 0;
        uint64_t word = 0;
        bool flag = false;
    };
    void SetHostContext(uint64_t pointer, uint64_t word, bool flag);
    HostContext GetHostContext() const;
    uint32_t GetLastHostWord() const { return lastHostWord_.load(std::memory_order_acquire); }
    float GetLastHostValue() const { return lastHostValue_.load(std::memory_order_acquire); }
    uint32_t GetHostNotificationCount() const { return hostNotifications_.load(std::memory_order_acquire); }

private:
    using Factory = std::function<std::shared_ptr<Element>(float sampleRate, uint32_t channelFormat)>;

    void Create(const Util::String& name, Factory factory);
    void ReserveScratch();
    std::shared_ptr<Element> MakeElement(const Factory& factory, float sampleRate, uint32_t channelFormat);

    float sampleRate_;
    uint32_t channelFormat_;
    uint32_t startCount_ = 0;
    std::vector<std::pair<Util::String, Factory>> factories_;
    std::array<uint64_t, kMaxBeforeBlockItems> beforeBlockItems_{};
    uint32_t beforeBlockCount_ = 0;
    std::atomic<bool> running_{false};
    std::atomic<uint32_t> lastHostWord_{0};
    std::atomic<float> lastHostValue_{0.0f};
    std::atomic<uint32_t> hostNotifications_{0};
    std::atomic<uint64_t> hostContextPointer_{0};
    std::atomic<uint64_t> hostContextWord_{0};
    std::atomic<bool> hostContextFlag_{false};
};

} // namespace DSP
