#include "dsp/DSPSet.h"

#include "dsp/ChannelFormat.h"
#include "dsp/ElementHost.h"
#include "dsp/Global.h"
#include "dsp/MultichannelBufferView.h"
#include "dsp/ShuttleElement.h"

#include <algorithm>

namespace DSP {

namespace {
// Room for the pool's alignment of each scratch block an element takes per block.
constexpr std::size_t kScratchSlack = 1024;
} // namespace

DSPSet::DSPSet(ElementHost& host, float sampleRate, uint32_t channelFormat)
    : DSPSetImpl(host), sampleRate_(sampleRate), channelFormat_(channelFormat)
{
    Create(Global::Global::kName, [&host](float rate, uint32_t format) {
        return std::make_shared<Global::Global>(host, rate, format);
    });
    Create(ShuttleElement::kName, [&host](float rate, uint32_t format) {
        return std::make_shared<ShuttleElement>(host, rate, format);
    });
}

DSPSet::~DSPSet() = default;

void DSPSet::Create(const Util::String& name, Factory factory)
{
    AddElement(factory(sampleRate_, channelFormat_));
    factories_.emplace_back(name, std::move(factory));
}

std::shared_ptr<Global::Global> DSPSet::GetGlobal() const
{
    return std::dynamic_pointer_cast<Global::Global>(FindElement(Global::Global::kName));
}

std::shared_ptr<ShuttleElement> DSPSet::GetShuttle() const
{
    return std::dynamic_pointer_cast<ShuttleElement>(FindElement(ShuttleElement::kName));
}

std::vector<uint32_t> DSPSet::GetOfferedChannelFormats() { return ChannelFormat::GetKnownIds(); }

void DSPSet::ReserveScratch()
{
    std::size_t bytes = 0;
    for (const auto& [name, element] : GetElements())
        bytes = std::max(bytes, element->GetScratchBytes());
    Platform::ScopedLock lock(GetHost().GetProcessingLock());
    GetHost().ReserveScratch(bytes + kScratchSlack);
}

void DSPSet::Start()
{
    if (startCount_ == 0)
        ReserveScratch();
    for (const auto& [name, element] : GetElements())
        element->Activate();
    if (startCount_++ == 0)
        Reset();
}

void DSPSet::Stop()
{
    for (const auto& [name, element] : GetElements())
        element->Deactivate();
    if (startCount_ > 0)
        --startCount_;
}

std::shared_ptr<Element> DSPSet::MakeElement(const Factory& factory, float sampleRate, uint32_t channelFormat)
{
    auto element = factory(sampleRate, channelFormat);
    for (uint32_t i = 0; i < startCount_; ++i)
        element->Activate();
    if (startCount_ > 0)
        element->Reset();
    return element;
}

void DSPSet::SetFormat(float sampleRate, uint32_t channelFormat)
{
    sampleRate_ = sampleRate;
    channelFormat_ = channelFormat;
    for (const auto& [name, factory] : factories_) {
        const auto current = FindElement(name);
        if (current && current->SetFormat(sampleRate, channelFormat))
            continue;
        auto replaced = ReplaceElement(MakeElement(factory, sampleRate, channelFormat));
        // The old element goes here, outside the processing lock, with every
        // command it still held.
        replaced.reset();
        elementReplaced(name);
    }
    if (startCount_ > 0)
        ReserveScratch();
}

void DSPSet::BeforeBlock(std::span<const uint64_t> items)
{
    beforeBlockCount_ = uint32_t(std::min<std::size_t>(items.size(), kMaxBeforeBlockItems));
    std::copy_n(items.begin(), beforeBlockCount_, beforeBlockItems_.begin());
}

std::span<const uint64_t> DSPSet::GetBeforeBlockItems() const
{
    return {beforeBlockItems_.data(), beforeBlockCount_};
}

void DSPSet::AfterBlock() { beforeBlockCount_ = 0; }

void DSPSet::RunPendingCommands()
{
    Platform::ScopedLock lock(GetHost().GetProcessingLock());
    const MultichannelBufferView<float> none;
    for (Element* element : GetProcessingOrder())
        element->Process(0, none);
}

void DSPSet::ProcessSubBlock(float* const* channels, uint32_t channelCount, uint32_t frames)
{
    Platform::ScopedLock lock(GetHost().GetProcessingLock());
    const MultichannelBufferView<float> view(channels, channelCount, frames);
    for (Element* element : GetProcessingOrder())
        element->Process(frames, view);
}

uint32_t DSPSet::GetMaxSubBlockSize() const { return GetHost().GetMaxBlockSize(); }

void DSPSet::Reset()
{
    Platform::ScopedLock lock(GetHost().GetProcessingLock());
    for (const auto& [name, element] : GetElements())
        element->Reset();
}

uint32_t DSPSet::GetParameterCount() const
{
    uint32_t count = 0;
    for (const auto& [name, element] : GetElements())
        count += element->GetParameterCount();
    return count;
}

void DSPSet::Settle() { RunPendingCommands(); }

void DSPSet::SetRunState(bool running, bool fromUserInterface)
{
    running_.store(running, std::memory_order_release);
    runStateChanged(running, fromUserInterface);
}

uint32_t DSPSet::ExchangeHostWord(uint32_t word)
{
    lastHostWord_.store(word, std::memory_order_release);
    return word;
}

void DSPSet::ReceiveHostValue(float value) { lastHostValue_.store(value, std::memory_order_release); }

void DSPSet::NotifyHost() { hostNotifications_.fetch_add(1, std::memory_order_acq_rel); }

void DSPSet::HandleRenderRequest(RenderRequest& request) { request.answer = 0; }

bool DSPSet::AskHost(uint32_t, uint32_t)
{
    NotifyHost();
    return true;
}

void DSPSet::SetHostContext(uint64_t pointer, uint64_t word, bool flag)
{
    hostContextPointer_.store(pointer, std::memory_order_release);
    hostContextWord_.store(word, std::memory_order_release);
    hostContextFlag_.store(flag, std::memory_order_release);
}

DSPSet::HostContext DSPSet::GetHostContext() const
{
    return {hostContextPointer_.load(std::memory_order_acquire), hostContextWord_.load(std::memory_order_acquire),
            hostContextFlag_.load(std::memory_order_acquire)};
}

} // namespace DSP
