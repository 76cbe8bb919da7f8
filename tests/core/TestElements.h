#pragma once
#include "product/PluginFactoryImpl.h"
#include "MixElement.h"
#include "core/Plugin.h"
#include "core/PluginFactory.h"
#include "dsp/PluginElementSet.h"

#include <functional>
#include <memory>
#include <vector>

// The product's element set ("Global" and "Shuttle") with a "Mix" element added,
// and a registration list of our choosing.
class TestElementSet final : public ElementSet {
public:
    TestElementSet(Plugin& plugin, std::vector<ParamRegistration> registrations);

    DSP::DSPSetImpl* dspSet() override { return inner_.dspSet(); }
    std::vector<ParamRegistration> parameterRegistrations() const override { return registrations_; }

    void start() override { inner_.start(); }
    void stop() override { inner_.stop(); }
    void connect() override { inner_.connect(); }
    void runPendingCommands() override { inner_.runPendingCommands(); }
    uint32_t maxSubBlockSize() const override { return inner_.maxSubBlockSize(); }
    void processSubBlock(uint32_t frames, float* const* channels, uint32_t count, const SideBus* buses,
                         uint32_t busCount) override
    {
        inner_.processSubBlock(frames, channels, count, buses, busCount);
    }
    void beforeBlock(uint32_t count, const uint8_t* items) override { inner_.beforeBlock(count, items); }
    void afterBlock() override { inner_.afterBlock(); }
    void bypass(uint64_t frames, float* const* in, float* const* out, uint32_t channels) override
    {
        inner_.bypass(frames, in, out, channels);
    }
    uint32_t elementCount() const override { return inner_.elementCount(); }
    uint32_t parameterCount() const override { return inner_.parameterCount(); }
    uint32_t latency() const override { return inner_.latency(); }
    uint32_t tailFrames() const override { return inner_.tailFrames(); }
    void runStateChanged(bool running) override { inner_.runStateChanged(running); }
    void reconfigure(float rate, uint32_t configuration) override { inner_.reconfigure(rate, configuration); }
    uint32_t exchangeHostWord(uint32_t word) override { return inner_.exchangeHostWord(word); }
    bool answersYes(uint32_t subject, uint32_t detail) override { return inner_.answersYes(subject, detail); }
    void hostContext(uint64_t pointer, uint64_t word, bool flag) override { inner_.hostContext(pointer, word, flag); }
    void idle() override { inner_.idle(); }
    void editorClosing() override { inner_.editorClosing(); }

private:
    DSP::PluginElementSet inner_;
    std::vector<ParamRegistration> registrations_;
};

// A product factory whose instances have the test element set; everything
// else is the product's.
class TestElementFactory final : public PluginFactory {
public:
    explicit TestElementFactory(std::vector<ParamRegistration> registrations = {})
        : registrations_(std::move(registrations))
    {
    }
    const PluginDefinition& definition(const HostContext& context) const override
    {
        return PluginFactoryImpl::product().definition(context);
    }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin&) override { return makeEditor ? makeEditor() : nullptr; }
    std::unique_ptr<ElementSet> createElementSet(Plugin& plugin) override
    {
        return std::make_unique<TestElementSet>(plugin, registrations_);
    }
    PluginCore* createPlugin(const CoreRecords::Creation& creation) override { return new Plugin(creation, *this); }
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override
    {
        return PluginFactoryImpl::product().createContext(plugin);
    }

    // The instances open no editor unless this makes one.
    std::function<std::unique_ptr<PluginEditor>()> makeEditor;

private:
    std::vector<ParamRegistration> registrations_;
};

// An editor without a window: it opens, does nothing, and tells when it closes.
struct StubEditor final : PluginEditor {
    std::function<void()> onClose;

    bool open(const OpenRequest&) override { return true; }
    void close() override
    {
        if (onClose)
            onClose();
    }
    uint8_t idle() override { return 0; }
    uint64_t windowHandle() const override { return 0; }
    bool event(uint32_t, uint32_t, uint32_t) override { return false; }
    void notify(uint32_t, uint32_t) override {}
    uint32_t inputEvent(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) override { return 0; }
    uint32_t inputEventWithPoint(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, bool) override { return 0; }
    std::vector<uint32_t> hitTest(uint32_t, uint32_t) override { return {}; }
    void propertyText(const std::string&) override {}
    bool propertyMessage(uint32_t, uint32_t, uint64_t) override { return false; }
    void runStateChanged(bool, bool, bool) override {}
};

// Selector calls on an instance through the entry dispatcher, records built as
// a wrapper builds them.
namespace Entry {
int32_t call(PluginCore& plugin, uint32_t selector, uint32_t lockIndex, void* record);
// Selector 31 codes 0 then 2: the first-flavour chunk; empty when either fails.
std::vector<uint8_t> saveState(PluginCore& plugin);
// Code 1 with the size code 0 answered.
std::vector<uint8_t> saveSecondFlavour(PluginCore& plugin);
// Code 3; false when the failure byte was set.
bool restoreState(PluginCore& plugin, const std::vector<uint8_t>& chunk);
// Selectors 14 and 15 (lock index 1).
float secondValue(PluginCore& plugin, uint32_t index, uint32_t lockIndex = 1);
int32_t setSecondValue(PluginCore& plugin, uint32_t index, float value);
} // namespace Entry
