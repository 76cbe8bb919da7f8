#include "shuttle/TransformBase.h"

#include "core/Plugin.h"

namespace DSP {

TransformBase::TransformBase(Plugin& plugin)
    : plugin_(plugin),
      elements_(std::make_unique<PluginElementSet>(plugin, plugin.sampleRate(), plugin.channelConfiguration()))
{
}

TransformBase::~TransformBase() = default;

bool TransformBase::hostMessage(uint32_t, uint32_t, uint32_t, const void*) { return false; }

void TransformBase::setFormat(float sampleRate, uint32_t channelFormat) { elements_->reconfigure(sampleRate, channelFormat); }

void TransformBase::processBlock(uint32_t, float* const*) {}

void TransformBase::runStateChanged(bool running) { elements_->runStateChanged(running); }

void TransformBase::processSubBlock(uint32_t frames, float* const* channels, uint32_t channelCount,
                                    const SideBus* sideBuses, uint32_t sideBusCount)
{
    elements_->processSubBlock(frames, channels, channelCount, sideBuses, sideBusCount);
    processBlock(frames, channels);
}

void TransformBase::notify()
{
    elements_->notify();
    processingStopped();
}

bool TransformBase::propertyMessage(uint32_t id, uint32_t size, uint64_t data)
{
    return hostMessage(0, id, size, reinterpret_cast<const void*>(uintptr_t(data)));
}

void TransformBase::idle()
{
    elements_->idle();
    pollLink();
}

} // namespace DSP
