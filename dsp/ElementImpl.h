#pragma once
#include "dsp/ChannelPointers.h"
#include "dsp/DSPCommandMailbox.h"
#include "dsp/Element.h"
#include "dsp/RingQueue.h"

#include <memory>

namespace DSP {

class DSPCommand;
class ElementHost;
class RegionRecord;

// The complete element: format, regions, channel pointers, the command mailbox
// (Process FIFO towards the audio side, UI FIFO back), nested activation, block
// processing in sub-blocks, and the latency-aligned bypass crossfade.
//
// Commands: Post runs a command at once on the posting thread when nothing
// processes and the processing lock is free; otherwise the command waits in the
// Process FIFO for the next ProcessRegion, comes back through the UI FIFO, and
// PumpCommands finishes it (or sends it round again).
//
// Subclasses give the signal processing (ProcessAudio / ProcessRegionAudio) and
// may override the hooks below; parameters come with ElementDispatcher.
class ElementImpl : public Element, public DSPCommandMailbox {
public:
    static constexpr uint32_t kProcessFifoCapacity = 512;
    static constexpr uint32_t kUiFifoCapacity = 512;
    static constexpr float kCrossfadeSeconds = 0.01f;
    static constexpr uint32_t kTransportValueCount = 4;

    ElementImpl(ElementHost& host, const Util::NameRecord& name, float sampleRate, uint32_t channelFormat,
                uint32_t sideInputBuses, uint32_t extraOutputBuses, uint32_t regionCount);
    // Deletes every command still queued or registered for this element, unrun.
    ~ElementImpl() override;

    Util::NameRecord GetName() const override;
    void PumpCommands() override;
    uint32_t GetChildCount() const override;
    Element* GetChild(uint32_t index) const override;
    // Refuses: the owner replaces the element. Subclasses that can follow a
    // format change call ApplyFormat.
    bool SetFormat(float sampleRate, uint32_t channelFormat) override;
    float GetSampleRate() const override;
    uint32_t GetChannelFormat() const override;
    uint32_t GetChannelCount() const override;
    uint32_t GetLatency() const override;
    uint32_t GetRegionCount() const override;
    void Activate() override;
    void Deactivate() override;
    void EditorClosing() override;
    void Reset() override;
    void Process(uint32_t frames, const MultichannelBufferView<float>& view) override;
    void ProcessRegion(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view) override;
    void Post(DSPCommand* command) override;
    bool IsActive() const override { return true; }
    std::size_t GetScratchBytes() const override;
    uint32_t GetMaxBlockSize() const override;
    uint32_t GetTailFrames() const override;

    ElementHost& GetHost() const;
    const Util::String& GetDisplayString() const;
    void SetDisplayString(const Util::String& text); // [ui-thread]
    uint32_t GetSideInputBuses() const;
    uint32_t GetExtraOutputBuses() const;
    // A 32-bit value kept for the subclass.
    uint32_t GetUserValue() const;
    void SetUserValue(uint32_t value);
    uint32_t GetActivationCount() const;
    // Set by Reset, cleared by each processed block.
    bool IsFresh() const;
    bool IsCrossfadeEnabled() const;
    uint32_t GetCrossfadeFrames() const;
    // The host transport values of the current block, cleared on reset. [audio-thread]
    std::optional<uint32_t> GetTransportValue(uint32_t index) const;
    void SetTransportValue(uint32_t index, uint32_t value);
    const RegionRecord* GetRegion(uint32_t index) const;
    const Atomic::RingQueue<DSPCommand>& GetProcessFifo() const;
    const Atomic::RingQueue<DSPCommand>& GetUiFifo() const;
    // Adds a sub-element (not owned); commands, activation and scratch needs
    // recurse into it. [ui-thread] & not processing
    void AddChild(ElementImpl* child);

protected:
    // The signal processing of region 0 for one sub-block. [audio-thread]
    virtual void ProcessAudio(uint32_t frames, const ChannelPointers& channels);
    // One sub-block of `region`; region 0 goes to ProcessAudio. [audio-thread]
    virtual void ProcessRegionAudio(uint32_t region, uint32_t frames, const ChannelPointers& channels);
    // False skips the signal processing of whole blocks. [audio-thread]
    virtual bool IsProcessingEnabled() const { return true; }
    // True leaves pending commands waiting in ProcessRegion. [audio-thread]
    virtual bool SkipsCommands() const { return false; }
    virtual uint32_t ComputeLatency() const { return 0; }
    virtual void OnReset() {}
    // Side input and extra output channel pointers, bus after bus, or null.
    virtual float* const* GetSideInputs() { return nullptr; }
    virtual float* const* GetExtraOutputs() { return nullptr; }
    // Whether the region's output of the finished block is valid.
    virtual bool RegionOutputIsValid(uint32_t /*region*/) { return true; }
    // Before the bypass mix of a block: the subclass may update IsActive here.
    virtual void OnBypassMixBegin() {}
    virtual void OnBypassMixReady() {}
    virtual void OnCommandsPumped() {}   // after PumpCommands [ui-thread]
    virtual void OnCommandsProcessed() {} // after the audio-side command pass
    virtual void OnActivate() {}
    virtual void OnDeactivate() {}
    virtual void OnEditorClosing() {} // [ui-thread]
    // Scratch bytes the subclass takes from the host pool per block.
    virtual std::size_t GetExtraScratchBytes() const { return 0; }

    // Latency-aligned bypass crossfade on or off. [ui-thread]
    void EnableCrossfade(bool enabled);
    // While set, pending commands are not run on the audio side.
    void SetCommandStop(bool stop);
    // Takes a new format in place: channel arrays, regions, delay lines and the
    // crossfade length follow it. [ui-thread]
    void ApplyFormat(float sampleRate, uint32_t channelFormat);
    // The audio-side command pass of this element and its children. [audio-thread] & processing lock
    void RunProcessCommands();

private:
    struct Impl;
    struct DryScratch;

    DryScratch TakeDryScratch(uint32_t frames, uint32_t channels);
    void ReturnDryScratch(const DryScratch& dry);
    void RunCommandsWithPoolMark();
    void ProcessSubBlocks(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view,
                          const DryScratch& dry);
    void LayOutChannels(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view);
    void StandInForMissingChannels(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view);
    void MixBypass(uint32_t frames, const MultichannelBufferView<float>& view, const DryScratch& dry);
    void PrepareDelayLines();
    bool SettleOnUserInterface(DSPCommand* command);
    void Retire(DSPCommand* command);
    void RunQueuedCommandsHere();

    std::unique_ptr<Impl> d_;
};

} // namespace DSP
