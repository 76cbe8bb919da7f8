#pragma once
#include <atomic>
#include <memory>
#include <vector>

#include "core/BlockPass.h"
#include "core/BufferProfiler.h"
#include "core/ConsoleCommandManager.h"
#include "core/ContextBase.h"
#include "core/EditorForwarding.h"
#include "core/EditorGestures.h"
#include "core/EntryLog.h"
#include "core/History.h"
#include "core/HistoryDelegate.h"
#include "core/HostParameters.h"
#include "core/PluginCore.h"
#include "core/PluginHelpFile.h"
#include "core/SavedState.h"
#include "core/UsageReporter.h"
#include "dsp/ElementHost.h"
#include "io/ConfigFile.h"
#include "param/ElementSet.h"
#include "util/Trackable.h"

class PluginFactory;

// One plug-in instance, created by the factory (selector 1) and destroyed by
// selector 7. It owns the element set and the parts that serve the entry
// protocol: the block pass, the values the host sees, the saved state, the
// recorded-entry log and the editor. The operations of PluginCore hand each
// selector to its part; what stays here is the lifecycle, the configuration,
// the status words and what the element set is told.
class Plugin : public PluginCore, public DSP::ElementHost, public Trackable, public Util::HistoryDelegate {
public:
    // The element set defaults to the product's; tests may hand in their own.
    Plugin(const CoreRecords::Creation& creation, PluginFactory& factory, std::unique_ptr<ElementSet> elementSet = {});
    ~Plugin() override;

    // PluginCore
    int32_t buildStateChunk(uint32_t& size) override;
    bool writeStateChunkSecondFlavour(uint32_t size, void* buffer) override;
    bool writeStateChunk(uint32_t size, void* buffer) override;
    bool restoreStateChunk(uint32_t size, const void* data, uint32_t extra) override;
    bool restoreStateChunkWithAnswer(uint32_t size, const void* data, float value, uint32_t& answer) override;
    void editorGestureBegins(uint32_t parameterIndex) override;
    void editorGestureEnds(uint32_t parameterIndex) override;
    void editorValueChanges(uint32_t parameterIndex) override;
    int32_t activate() override;
    int32_t deactivate() override;
    int32_t drainRecordedEntries(const CoreRecords::Drain& request) override;
    uint32_t automatableParameterCount() override;
    int32_t describeAutomatableParameters(uint32_t count, void* records) override;
    int32_t parameterValue(uint32_t index, float& value, uint32_t lockIndex) override;
    int32_t setParameterValue(uint32_t index, float value, uint32_t lockIndex) override;
    uint32_t elementParameterCount() override;
    int32_t describeSecondValues(uint32_t count, void* records) override;
    int32_t secondValue(uint32_t index, float& value, uint32_t lockIndex) override;
    int32_t setSecondValue(uint32_t index, float value, uint32_t lockIndex) override;
    void editorHitTest(uint32_t x, uint32_t y, uint32_t& index, uint32_t& found) override;
    int32_t setSampleRateAndConfiguration(float sampleRate, uint32_t channelConfiguration) override;
    uint32_t statusWord(uint32_t word) override;
    void reset() override;
    void switchRunState(bool running, bool hold, uint32_t lockIndex) override;
    void onSettle() override;
    void processBlock(const CoreRecords::Process& block) override;
    void beforeBlock(uint32_t count, const uint8_t* items) override;
    void afterBlock() override;
    void processBypassed(uint64_t frames, uint64_t inputs, uint64_t outputs) override;
    void exchangeHostWord(uint32_t& word) override;
    void handHostFloat(float value) override;
    void notifyElementSet() override;
    void forwardRenderRequest(ElementSet::RenderRequest& request) override;
    void closeEditor() override;
    uint8_t idleEditor() override;
    uint64_t editorWindowHandle() override;
    void editorNotification(uint32_t first, uint32_t second) override;
    bool editorEvent(uint32_t first, uint32_t second, uint32_t third) override;
    int32_t editorInputEvent(CoreRecords::EditorEvent& event) override;
    int32_t editorInputEventWithPoint(CoreRecords::EditorEvent& event) override;
    uint32_t instanceWord() override;
    int32_t propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex) override;
    bool askElementSet(uint32_t subject, uint32_t detail) override;
    int32_t settingsRequest(uint8_t* record) override;
    void storeHostOptionWord(uint32_t word) override;
    void idle() override;
    int32_t openEditor(const PluginEditor::OpenRequest& request) override;

    // DSP::ElementHost: the processing lock and tests are the instance's own.
    Platform::CriticalSection& GetProcessingLock() override { return threadController().processing(); }
    bool IsProcessing() const override { return blockPass_.isProcessing(); }
    bool IsProcessingThread() const override { return blockPass_.isProcessingThread(); }
    std::optional<double> GetSamplePosition() const override { return blockPass_.samplePosition(); }
    // An edit of an element parameter begins or ends in the editor. [ui-thread]
    void BeginParameterEdit(DSP::Element& element, uint32_t index) override { gestures_->begins(element, index); }
    void EndParameterEdit(DSP::Element& element, uint32_t index) override { gestures_->ends(element, index); }

    // Util::HistoryDelegate: undo history, kept in the history file between sessions. [ui-thread]
    uint32_t historyWord() const override;
    std::vector<uint8_t> historyState() override; // the first flavour of the state chunk
    const Util::History& history() const { return history_; }

    // The instance's parts.
    BlockPass& blockPass() { return blockPass_; }
    const BlockPass& blockPass() const { return blockPass_; }
    HostParameters& parameters() { return *parameters_; }
    SavedState& savedState() { return *savedState_; }
    PluginEditor* editor() const { return editor_.editor(); }
    ElementSet& elementSet() { return *elementSet_; }
    // What the instance keeps besides its element parameters. [ui-thread]
    Context::ContextBase& context() { return *context_; }

    // An element asks for the status words to be recomputed at the end of the
    // current block pass. [audio-thread]
    void requestStatusRecompute() { statusRecompute_.store(true, std::memory_order_release); }

    bool isActive() const { return active_; }
    float sampleRate() const { return sampleRate_; }
    uint32_t channelConfiguration() const { return channelConfiguration_; }
    uint32_t channelCount() const { return channelCount_; }
    WrapperLink::ActivationWords activationWords() const { return activationWords_; }
    bool hostOptionWordSet() const { return hostOptionSet_; }
    uint32_t hostOptionWord() const { return hostOption_; }
    // Where the instance reports its use; null when the product reports nothing. [any-thread]
    UsageReporter* usageReporter() const { return usageReporter_.get(); }
    // The host's help command: opens the plug-in's own help file. [ui-thread]
    bool showHelpFile() const { return PluginHelpFile(definition()).show(editor() != nullptr); }
    // The product's settings, "SOFTWARE/Quillex/TW6Relay". [any-thread], not audio
    Util::ConfigFile& settings() { return settings_; }
    uint32_t frozenSystemDelay() const { return frozenSystemDelay_; }
    // The block pass's profiler; null unless logging was on when the instance was made.
    BufferProfiler* profiler() const { return profiler_.get(); }
    // The instance's console commands. [ui-thread]
    ConsoleCommand::Manager& consoleCommands() { return consoleCommands_; }

private:
    void makeParameterModel();
    void recomputeStatusWords();
    void reportStatusRecompute();
    void showDropoutAlert();

    PluginFactory& factory_;
    Util::ConfigFile settings_;
    uint32_t frozenSystemDelay_ = 0;
    float sampleRate_;
    uint32_t channelConfiguration_;
    uint32_t channelCount_;
    // Before the element set: its elements may ask the processing tests while they are made.
    BlockPass blockPass_;
    std::unique_ptr<BufferProfiler> profiler_;
    EntryLog entryLog_;
    std::unique_ptr<ElementSet> elementSet_;
    std::unique_ptr<UsageReporter> usageReporter_;

    std::atomic<bool> active_{false};
    std::atomic<bool> reconfiguring_{false};
    std::atomic<bool> statusRecompute_{false};
    std::atomic<uint32_t> statusWords_[2] = {0, 0};

    EditorForwarding editor_;
    std::unique_ptr<Context::ContextBase> context_;
    std::unique_ptr<SavedState> savedState_;
    std::unique_ptr<HostParameters> parameters_;
    std::shared_ptr<EditorGestures> gestures_; // its listeners in the elements hold it weakly

    Util::History history_;
    WrapperLink::ActivationWords activationWords_;
    std::atomic<uint32_t> hostOption_{0};
    std::atomic<bool> hostOptionSet_{false};
    // Last: its commands reach every other part of the instance.
    ConsoleCommand::Manager consoleCommands_;
};
