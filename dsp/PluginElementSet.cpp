#include "dsp/PluginElementSet.h"

#include "dsp/Element.h"
#include "dsp/ElementHost.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace DSP {

PluginElementSet::PluginElementSet(ElementHost& host, float sampleRate, uint32_t channelFormat)
    : host_(host), set_(host, sampleRate, channelFormat)
{
}

void PluginElementSet::start() { set_.Start(); }

void PluginElementSet::stop() { set_.Stop(); }

void PluginElementSet::runPendingCommands() { set_.RunPendingCommands(); }

uint32_t PluginElementSet::maxSubBlockSize() const { return set_.GetMaxSubBlockSize(); }

void PluginElementSet::processSubBlock(uint32_t frames, float* const* channels, uint32_t channelCount,
                                       const SideBus*, uint32_t)
{
    set_.ProcessSubBlock(channels, channelCount, frames);
}

void PluginElementSet::beforeBlock(uint32_t count, const uint8_t* items)
{
    std::array<uint64_t, DSPSet::kMaxBeforeBlockItems> words{};
    const uint32_t n = items ? std::min<uint32_t>(count, DSPSet::kMaxBeforeBlockItems) : 0;
    if (n > 0)
        std::memcpy(words.data(), items, n * sizeof(uint64_t));
    set_.BeforeBlock({words.data(), n});
}

void PluginElementSet::afterBlock() { set_.AfterBlock(); }

void PluginElementSet::bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels)
{
    if (!inputs || !outputs)
        return;
    for (uint32_t c = 0; c < channels; ++c)
        if (inputs[c] && outputs[c] && inputs[c] != outputs[c])
            std::memmove(outputs[c], inputs[c], std::size_t(frames) * sizeof(float));
}

uint32_t PluginElementSet::elementCount() const { return set_.GetElementCount(); }

uint32_t PluginElementSet::parameterCount() const { return set_.GetParameterCount(); }

uint32_t PluginElementSet::latency() const
{
    uint32_t frames = 0;
    for (const auto& [name, element] : set_.GetElements())
        frames = std::max(frames, element->GetLatency());
    return frames;
}

uint32_t PluginElementSet::tailFrames() const
{
    uint32_t frames = 0;
    for (const auto& [name, element] : set_.GetElements())
        frames = std::max(frames, element->GetTailFrames());
    return frames;
}

void PluginElementSet::runStateChanged(bool running) { set_.SetRunState(running, !host_.IsProcessingThread()); }

void PluginElementSet::reconfigure(float sampleRate, uint32_t channelConfiguration)
{
    set_.SetFormat(sampleRate, channelConfiguration);
}

uint32_t PluginElementSet::exchangeHostWord(uint32_t word) { return set_.ExchangeHostWord(word); }

bool PluginElementSet::answersYes(uint32_t subject, uint32_t detail) { return set_.AskHost(subject, detail); }

void PluginElementSet::renderRequest(RenderRequest& request) { set_.HandleRenderRequest(request); }

void PluginElementSet::editorClosing()
{
    for (const auto& [name, element] : set_.GetElements())
        element->EditorClosing();
}

void PluginElementSet::idle()
{
    set_.PumpAll();
    set_.DispatchAll();
}

} // namespace DSP
