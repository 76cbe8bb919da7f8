#include "dsp/ElementImpl.h"

#include "dsp/BypassCrossfader.h"
#include "dsp/ChannelFormat.h"
#include "dsp/DSPCommand.h"
#include "dsp/DelayLine.h"
#include "dsp/ElementHost.h"
#include "dsp/RegionRecord.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

namespace DSP {

namespace {
struct TransportValue {
    uint32_t value = 0;
    bool valid = false;
};

Util::NameRecord fifoName(const Util::NameRecord& element, const char* pattern)
{
    return {element.flag, Util::format(pattern, element.text)};
}
} // namespace

// The element's whole state, in one record owned by the element.
struct ElementImpl::Impl {
    Impl(ElementHost& owner, const Util::NameRecord& elementName, uint32_t sideBuses, uint32_t extraBuses,
         uint32_t regions)
        : host(&owner), name(elementName), sideInputBuses(sideBuses), extraOutputBuses(extraBuses),
          regionCount(regions), processFifo(fifoName(elementName, "%1 Process FIFO"), kProcessFifoCapacity, true),
          uiFifo(fifoName(elementName, "%1 UI FIFO"), kUiFifoCapacity, false)
    {
    }

    ElementHost* host;
    Util::NameRecord name;
    Util::String displayString;
    float sampleRate = 0.0f;
    uint32_t channelFormat = 0;
    uint32_t channelCount = 0;
    uint32_t sideInputBuses;
    uint32_t extraOutputBuses;
    uint32_t regionCount;
    std::vector<std::unique_ptr<RegionRecord>> regions;
    std::vector<float*> inputs;
    std::vector<float*> outputs;
    uint32_t activationCount = 0;
    bool fresh = false;
    std::atomic<bool> stop{false};
    uint32_t userValue = 0;
    std::array<TransportValue, kTransportValueCount> transport{};
    std::vector<ElementImpl*> children;
    Atomic::RingQueue<DSPCommand> processFifo;
    Atomic::RingQueue<DSPCommand> uiFifo;
    bool crossfadeEnabled = false;
    std::vector<std::vector<DelayLine>> delayLines;
    BypassCrossfader crossfader;
    float crossfadeTime = kCrossfadeSeconds;
    bool active = true;
    std::vector<DSPCommand*> pumped; // reused by PumpCommands on the user-interface side
};

// The dry signal of one block: channel count x frames floats and their pointers,
// both from the host's scratch pool.
struct ElementImpl::DryScratch {
    float* samples = nullptr;
    float** channels = nullptr;
    uint32_t channelCount = 0;
    uint32_t frames = 0;
    bool IsValid() const { return channels != nullptr; }
};

ElementImpl::ElementImpl(ElementHost& host, const Util::NameRecord& name, float sampleRate, uint32_t channelFormat,
                         uint32_t sideInputBuses, uint32_t extraOutputBuses, uint32_t regionCount)
    : d_(std::make_unique<Impl>(host, name, sideInputBuses, extraOutputBuses, regionCount))
{
    ApplyFormat(sampleRate, channelFormat);
}

ElementImpl::~ElementImpl()
{
    d_->stop.store(true, std::memory_order_release);
    for (auto* fifo : {&d_->processFifo, &d_->uiFifo})
        while (DSPCommand* command = fifo->Pop())
            Retire(command);
    d_->host->ReleaseCommandsOf(this);
}

void ElementImpl::ApplyFormat(float sampleRate, uint32_t channelFormat)
{
    Impl& d = *d_;
    Platform::ScopedLock lock(d.host->GetProcessingLock());
    d.sampleRate = sampleRate;
    d.channelFormat = channelFormat;
    d.channelCount = ChannelFormat::GetChannelCount(channelFormat);
    d.inputs.assign(size_t(d.sideInputBuses + 1) * d.channelCount, nullptr);
    d.outputs.assign(size_t(d.extraOutputBuses + 1) * d.channelCount, nullptr);
    const uint32_t workChannels = (std::max(d.sideInputBuses, d.extraOutputBuses) + 1) * d.channelCount;
    const uint32_t maxBlock = d.host->GetMaxBlockSize();
    d.regions.resize(d.regionCount);
    for (auto& region : d.regions) {
        if (region)
            region->EnsureCapacity(workChannels, maxBlock);
        else
            region = std::make_unique<RegionRecord>(workChannels, maxBlock);
    }
    d.delayLines.assign(d.regionCount, std::vector<DelayLine>(d.channelCount));
    if (d.crossfadeEnabled)
        PrepareDelayLines();
    // In single precision, as the crossfade time is kept: 10 ms at 22050 Hz is 221 frames.
    d.crossfader.SetLength(uint32_t(std::lround(d.crossfadeTime * sampleRate)));
}

Util::NameRecord ElementImpl::GetName() const { return d_->name; }

ElementHost& ElementImpl::GetHost() const { return *d_->host; }

const Util::String& ElementImpl::GetDisplayString() const { return d_->displayString; }

void ElementImpl::SetDisplayString(const Util::String& text) { d_->displayString = text; }

uint32_t ElementImpl::GetChildCount() const { return uint32_t(d_->children.size()); }

Element* ElementImpl::GetChild(uint32_t index) const
{
    return index < d_->children.size() ? d_->children[index] : nullptr;
}

void ElementImpl::AddChild(ElementImpl* child)
{
    if (child && child != this)
        d_->children.push_back(child);
}

bool ElementImpl::SetFormat(float, uint32_t) { return false; }

float ElementImpl::GetSampleRate() const { return d_->sampleRate; }

uint32_t ElementImpl::GetChannelFormat() const { return d_->channelFormat; }

uint32_t ElementImpl::GetChannelCount() const { return d_->channelCount; }

uint32_t ElementImpl::GetLatency() const { return ComputeLatency(); }

uint32_t ElementImpl::GetRegionCount() const { return d_->regionCount; }

uint32_t ElementImpl::GetSideInputBuses() const { return d_->sideInputBuses; }

uint32_t ElementImpl::GetExtraOutputBuses() const { return d_->extraOutputBuses; }

uint32_t ElementImpl::GetUserValue() const { return d_->userValue; }

void ElementImpl::SetUserValue(uint32_t value) { d_->userValue = value; }

uint32_t ElementImpl::GetActivationCount() const { return d_->activationCount; }

bool ElementImpl::IsFresh() const { return d_->fresh; }

bool ElementImpl::IsCrossfadeEnabled() const { return d_->crossfadeEnabled; }

uint32_t ElementImpl::GetCrossfadeFrames() const { return d_->crossfader.GetLength(); }

std::optional<uint32_t> ElementImpl::GetTransportValue(uint32_t index) const
{
    if (index >= kTransportValueCount || !d_->transport[index].valid)
        return std::nullopt;
    return d_->transport[index].value;
}

void ElementImpl::SetTransportValue(uint32_t index, uint32_t value)
{
    if (index < kTransportValueCount)
        d_->transport[index] = {value, true};
}

const RegionRecord* ElementImpl::GetRegion(uint32_t index) const
{
    return index < d_->regions.size() ? d_->regions[index].get() : nullptr;
}

const Atomic::RingQueue<DSPCommand>& ElementImpl::GetProcessFifo() const { return d_->processFifo; }

const Atomic::RingQueue<DSPCommand>& ElementImpl::GetUiFifo() const { return d_->uiFifo; }

uint32_t ElementImpl::GetMaxBlockSize() const { return d_->host->GetMaxBlockSize(); }

uint32_t ElementImpl::GetTailFrames() const
{
    return GetLatency() + uint32_t(std::lround(2.0 * double(d_->sampleRate)));
}

std::size_t ElementImpl::GetScratchBytes() const
{
    std::size_t bytes = 0;
    for (const ElementImpl* child : d_->children)
        bytes = std::max(bytes, child->GetScratchBytes());
    if (d_->crossfadeEnabled)
        bytes += (std::size_t(GetMaxBlockSize()) + 2) * d_->channelCount * sizeof(float);
    return bytes + GetExtraScratchBytes();
}

void ElementImpl::EnableCrossfade(bool enabled)
{
    Platform::ScopedLock lock(d_->host->GetProcessingLock());
    d_->crossfadeEnabled = enabled;
    if (enabled)
        PrepareDelayLines();
}

void ElementImpl::SetCommandStop(bool stop) { d_->stop.store(stop, std::memory_order_release); }

void ElementImpl::PrepareDelayLines()
{
    const uint32_t latency = GetLatency();
    for (auto& lines : d_->delayLines)
        for (auto& line : lines)
            line.Prepare(latency);
}

// ----- activation and reset -------------------------------------------------

void ElementImpl::Activate()
{
    if (d_->activationCount++ != 0)
        return;
    if (d_->crossfadeEnabled) {
        Platform::ScopedLock lock(d_->host->GetProcessingLock());
        PrepareDelayLines();
    }
    OnActivate();
    for (ElementImpl* child : d_->children)
        child->Activate();
}

void ElementImpl::Deactivate()
{
    if (d_->activationCount == 0)
        d_->activationCount = 1;
    if (--d_->activationCount != 0)
        return;
    OnDeactivate();
    for (ElementImpl* child : d_->children)
        child->Deactivate();
}

void ElementImpl::EditorClosing()
{
    OnEditorClosing();
    for (ElementImpl* child : d_->children)
        child->EditorClosing();
}

void ElementImpl::Reset()
{
    Impl& d = *d_;
    Platform::ScopedLock lock(d.host->GetProcessingLock());
    for (auto& region : d.regions)
        region->Reset();
    d.transport = {};
    if (!d.fresh)
        OnReset();
    for (auto& lines : d.delayLines)
        for (auto& line : lines)
            line.Clear();
    d.active = IsActive();
    d.crossfader.JumpTo(d.active);
    d.fresh = true;
}

// ----- commands ---------------------------------------------------------------

void ElementImpl::Post(DSPCommand* command)
{
    ElementHost& host = *d_->host;
    host.RegisterCommand(this, command);
    if (host.IsProcessing()) {
        d_->processFifo.Push(command);
        return;
    }
    Platform::TryLock lock(host.GetProcessingLock(), std::try_to_lock);
    if (!lock.owns_lock()) {
        d_->processFifo.Push(command);
        return;
    }
    RunProcessCommands();
    if (!command->ExecuteOnProcess())
        command->MarkInactive();
    if (command->IsActive() && !command->ExecuteOnUI())
        command->MarkInactive();
    if (command->IsActive())
        d_->processFifo.Push(command);
    else
        Retire(command);
}

void ElementImpl::RunProcessCommands()
{
    Impl& d = *d_;
    if (d.stop.load(std::memory_order_acquire))
        return;
    for (ElementImpl* child : d.children)
        child->RunProcessCommands();
    while (!d.stop.load(std::memory_order_acquire)) {
        // Only tried: a command behind a busy FIFO runs in the next block.
        DSPCommand* command = d.processFifo.TryPop();
        if (!command)
            break;
        if (command->IsActive() && !command->ExecuteOnProcess())
            command->MarkInactive();
        // A full UI FIFO drops the command here; it stays registered with the
        // host, which deletes it with the element.
        d.uiFifo.Push(command);
    }
    OnCommandsProcessed();
}

bool ElementImpl::SettleOnUserInterface(DSPCommand* command)
{
    if (command->IsCancelled())
        command->MarkInactive();
    else if (command->IsActive() && !command->ExecuteOnUI())
        command->MarkInactive();
    return command->IsActive();
}

void ElementImpl::Retire(DSPCommand* command)
{
    d_->host->UnregisterCommand(this, command);
    delete command;
}

void ElementImpl::PumpCommands()
{
    Impl& d = *d_;
    while (DSPCommand* command = d.uiFifo.Pop()) {
        if (SettleOnUserInterface(command))
            d.processFifo.Push(command);
        else
            Retire(command);
    }
    RunQueuedCommandsHere();
    for (ElementImpl* child : d.children)
        child->PumpCommands();
    OnCommandsPumped();
}

// Nothing processes: the user-interface side runs both halves itself.
void ElementImpl::RunQueuedCommandsHere()
{
    Impl& d = *d_;
    if (d.host->IsProcessing())
        return;
    Platform::TryLock lock(d.host->GetProcessingLock(), std::try_to_lock);
    if (!lock.owns_lock())
        return;
    d.pumped.clear();
    while (DSPCommand* command = d.processFifo.Pop()) {
        if (command->IsActive() && !command->ExecuteOnProcess())
            command->MarkInactive();
        if (SettleOnUserInterface(command))
            d.pumped.push_back(command);
        else
            Retire(command);
    }
    for (DSPCommand* command : d.pumped)
        d.processFifo.Push(command);
    d.pumped.clear();
}

// ----- processing -------------------------------------------------------------

void ElementImpl::Process(uint32_t frames, const MultichannelBufferView<float>& view)
{
    ProcessRegion(0, frames, view);
}

void ElementImpl::ProcessRegion(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view)
{
    Impl& d = *d_;
    if (region >= d.regionCount)
        return;
    const bool hasAudio = frames > 0 && view.GetChannelCount() > 0 && d.channelCount > 0;
    const uint32_t mixChannels = std::min(d.channelCount, view.GetChannelCount());
    const DryScratch dry = hasAudio && d.crossfadeEnabled ? TakeDryScratch(frames, mixChannels) : DryScratch{};
    {
        Platform::ScopedLock lock(d.host->GetProcessingLock());
        RunCommandsWithPoolMark();
        if (hasAudio)
            ProcessSubBlocks(region, frames, view, dry);
        d.regions[region]->Finish(hasAudio ? frames : 0, RegionOutputIsValid(region));
        if (dry.IsValid())
            MixBypass(frames, view, dry);
    }
    ReturnDryScratch(dry);
}

void ElementImpl::RunCommandsWithPoolMark()
{
    ElementHost& host = *d_->host;
    const auto mark = host.GetPoolMark();
    if (!SkipsCommands())
        RunProcessCommands();
    host.RestorePoolMark(mark);
}

ElementImpl::DryScratch ElementImpl::TakeDryScratch(uint32_t frames, uint32_t channels)
{
    ElementHost& host = *d_->host;
    DryScratch dry{nullptr, nullptr, channels, frames};
    dry.samples = static_cast<float*>(host.AllocateScratch(std::size_t(channels) * frames * sizeof(float)));
    if (!dry.samples)
        return {};
    dry.channels = static_cast<float**>(host.AllocateScratch(std::size_t(channels) * sizeof(float*)));
    if (!dry.channels) {
        host.FreeScratch(dry.samples, std::size_t(channels) * frames * sizeof(float));
        return {};
    }
    for (uint32_t ch = 0; ch < channels; ++ch)
        dry.channels[ch] = dry.samples + std::size_t(ch) * frames;
    return dry;
}

void ElementImpl::ReturnDryScratch(const DryScratch& dry)
{
    if (!dry.IsValid())
        return;
    ElementHost& host = *d_->host;
    host.FreeScratch(dry.channels, std::size_t(dry.channelCount) * sizeof(float*));
    host.FreeScratch(dry.samples, std::size_t(dry.channelCount) * dry.frames * sizeof(float));
}

void ElementImpl::LayOutChannels(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view)
{
    Impl& d = *d_;
    const uint32_t channels = d.channelCount;
    for (uint32_t ch = 0; ch < channels; ++ch)
        d.inputs[ch] = d.outputs[ch] = view.GetChannel(ch);
    StandInForMissingChannels(region, frames, view);
    float* const* side = GetSideInputs();
    for (std::size_t i = channels; i < d.inputs.size(); ++i)
        d.inputs[i] = side ? side[i - channels] : nullptr;
    float* const* extra = GetExtraOutputs();
    for (std::size_t i = channels; i < d.outputs.size(); ++i)
        d.outputs[i] = extra ? extra[i - channels] : nullptr;
}

// The host gave fewer channels than the format has: the missing ones read
// silence from the region's work buffers, and what is written there is dropped.
void ElementImpl::StandInForMissingChannels(uint32_t region, uint32_t frames,
                                            const MultichannelBufferView<float>& view)
{
    Impl& d = *d_;
    RegionRecord& record = *d.regions[region];
    for (uint32_t ch = view.GetChannelCount(); ch < d.channelCount; ++ch) {
        float* buffer = record.GetWorkBuffer(ch);
        std::fill(buffer, buffer + std::min(frames, record.GetBlockCapacity()), 0.0f);
        d.inputs[ch] = d.outputs[ch] = buffer;
    }
}

void ElementImpl::ProcessSubBlocks(uint32_t region, uint32_t frames, const MultichannelBufferView<float>& view,
                                   const DryScratch& dry)
{
    Impl& d = *d_;
    ElementHost& host = *d.host;
    const bool enabled = IsProcessingEnabled();
    if (enabled)
        d.fresh = false;
    if (host.HasTransportJumped())
        d.transport[0] = d.transport[1] = {0, true};
    LayOutChannels(region, frames, view);
    if (dry.IsValid()) {
        const uint32_t latency = GetLatency();
        for (uint32_t ch = 0; ch < dry.channelCount; ++ch) {
            DelayLine& line = d.delayLines[region][ch];
            line.SetDelay(latency);
            line.Process(d.inputs[ch], dry.channels[ch], frames);
        }
    }
    const ChannelPointers pointers{d.inputs.data(), uint32_t(d.inputs.size()), d.outputs.data(),
                                   uint32_t(d.outputs.size())};
    uint32_t maxBlock = GetMaxBlockSize();
    if (view.GetChannelCount() < d.channelCount)
        maxBlock = std::min(maxBlock, d.regions[region]->GetBlockCapacity());
    uint32_t done = 0;
    while (done < frames) {
        const uint32_t n = RegionRecord::NextSubBlock(frames - done, maxBlock);
        if (enabled) {
            const auto mark = host.GetPoolMark();
            ProcessRegionAudio(region, n, pointers);
            host.RestorePoolMark(mark);
        }
        done += n;
        if (done < frames)
            host.ReportPosition(done);
        for (auto* list : {&d.inputs, &d.outputs})
            for (float*& channel : *list)
                if (channel)
                    channel += n;
        StandInForMissingChannels(region, frames - done, view);
    }
}

void ElementImpl::MixBypass(uint32_t frames, const MultichannelBufferView<float>& view, const DryScratch& dry)
{
    Impl& d = *d_;
    OnBypassMixBegin();
    OnBypassMixReady();
    const bool active = IsActive();
    if (active != d.active) {
        d.crossfader.StartTowards(active);
        d.active = active;
    }
    d.crossfader.Mix(dry.channels, view.GetChannels(), dry.channelCount, frames);
}

void ElementImpl::ProcessAudio(uint32_t, const ChannelPointers&) {}

void ElementImpl::ProcessRegionAudio(uint32_t region, uint32_t frames, const ChannelPointers& channels)
{
    if (region == 0)
        ProcessAudio(frames, channels);
}

} // namespace DSP
