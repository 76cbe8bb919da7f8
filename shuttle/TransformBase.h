#pragma once
#include <cstdint>
#include <memory>

#include "param/ElementSet.h"
#include "dsp/PluginElementSet.h"

class Plugin;

namespace DSP {

// The instance's top-level processing object: it owns the DSP set and is the
// element set the instance drives. Every element-set call reaches the DSP set;
// the product's own work comes in through the operations below, which the
// element-set calls lead to:
//   processSubBlock -> the elements, then processBlock
//   reconfigure     -> setFormat            notify          -> processingStopped
//   runStateChanged -> the elements, then the product's rule
//   propertyMessage -> hostMessage          idle            -> the elements' pump, then pollLink
class TransformBase : public ::ElementSet {
public:
    explicit TransformBase(Plugin& plugin);
    ~TransformBase() override;

    Plugin& plugin() const { return plugin_; }
    DSPSet& GetDSPSet() { return elements_->GetSet(); }

    virtual void pollLink() {}                                                 // [ui-thread]
    virtual void refreshRepaired() {}                                          // [ui-thread]
    virtual void processingStopped() {}                                        // [audio-thread]
    virtual bool hostMessage(uint32_t word, uint32_t selector, uint32_t size, const void* data); // [any-thread]
    virtual void setFormat(float sampleRate, uint32_t channelFormat);          // [audio-thread]
    virtual void processBlock(uint32_t frames, float* const* channels);        // [audio-thread]
    virtual void runStateChanged(bool running) override;                       // [audio-thread]

    // ElementSet
    void start() override { elements_->start(); }
    void stop() override { elements_->stop(); }
    void connect() override { elements_->connect(); }
    void runPendingCommands() override { elements_->runPendingCommands(); }
    uint32_t maxSubBlockSize() const override { return elements_->maxSubBlockSize(); }
    void processSubBlock(uint32_t frames, float* const* channels, uint32_t channelCount, const SideBus* sideBuses,
                         uint32_t sideBusCount) override;
    void beforeBlock(uint32_t count, const uint8_t* items) override { elements_->beforeBlock(count, items); }
    void afterBlock() override { elements_->afterBlock(); }
    void bypass(uint64_t frames, float* const* inputs, float* const* outputs, uint32_t channels) override
    {
        elements_->bypass(frames, inputs, outputs, channels);
    }
    uint32_t elementCount() const override { return elements_->elementCount(); }
    uint32_t parameterCount() const override { return elements_->parameterCount(); }
    uint32_t latency() const override { return elements_->latency(); }
    uint32_t tailFrames() const override { return elements_->tailFrames(); }
    void reconfigure(float sampleRate, uint32_t channelConfiguration) override { setFormat(sampleRate, channelConfiguration); }
    uint32_t exchangeHostWord(uint32_t word) override { return elements_->exchangeHostWord(word); }
    bool answersYes(uint32_t subject, uint32_t detail) override { return elements_->answersYes(subject, detail); }
    void hostValue(float value) override { elements_->hostValue(value); }
    void notify() override;
    void renderRequest(RenderRequest& request) override { elements_->renderRequest(request); }
    void hostContext(uint64_t pointer, uint64_t word, bool flag) override
    {
        elements_->hostContext(pointer, word, flag);
    }
    bool propertyMessage(uint32_t id, uint32_t size, uint64_t data) override;
    void idle() override;
    void editorClosing() override { elements_->editorClosing(); }
    DSPSetImpl* dspSet() override { return elements_->dspSet(); }
    std::vector<ParamRegistration> parameterRegistrations() const override
    {
        return elements_->parameterRegistrations();
    }

private:
    Plugin& plugin_;
    std::unique_ptr<PluginElementSet> elements_;
};

} // namespace DSP
