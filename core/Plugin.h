#pragma once
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "core/ContextBase.h"
#include "param/ElementSet.h"
#include "dsp/ElementHost.h"
#include "core/History.h"
#include "core/HistoryDelegate.h"
#include "core/ParamList.h"
#include "core/PluginCore.h"
#include "core/PluginEditor.h"
#include "core/PluginHelpFile.h"
#include "core/PluginState.h"
#include "core/UsageReporter.h"
#include "io/ConfigFile.h"
#include "util/Trackable.h"

class PluginFactory;

// One plug-in instance: owns its element set, the open editor, the status words,
// the recorded-entry list and the processing bookkeeping. Created by the factory
// (selector 1), destroyed by selector 7.
class Plugin : public PluginCore, public DSP::ElementHost, public Trackable, public Util::HistoryDelegate {
public:
    static constexpr size_t TransportSize = 136;
    static constexpr size_t BlockHistorySize = 19;
    static constexpr uint32_t FreeHistoryEntry = 0xFFFFFFFFu;
    static constexpr uint32_t ProcessingGraceMs = 2500;
    static constexpr size_t MaxSideBusChannels = 64;
    static constexpr size_t RecordingCapacity = 100000;

    // The element set defaults to the product's; tests may hand in their own.
    Plugin(const CoreRecords::Creation& creation, PluginFactory& factory, std::unique_ptr<ElementSet> elementSet = {});
    ~Plugin() override;

    // PluginCore
    int32_t buildStateChunk(uint32_t& size) override;
    bool writeStateChunkSecondFlavour(uint32_t size, void* buffer) override;
    bool writeStateChunk(uint32_t size, void* buffer) override;
    bool restoreStateChunk(uint32_t size, const void* data, uint32_t extra) override;
    bool restoreStateChunkVariant(uint32_t size, const void* data, float value, uint32_t& answer) override;
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
    void switchRunState(bool a, bool b, uint32_t lockIndex) override;
    void onSettle() override;
    void processBlock(const CoreRecords::Process& block) override;
    void beforeBlock(uint32_t count, const uint8_t* items) override;
    void afterBlock() override;
    void processBypassed(uint64_t frames, uint64_t inputs, uint64_t outputs) override;
    void forwardWord(uint32_t& word) override;
    void forwardFloat(float value) override;
    void notifyElementSet() override;
    void forwardRenderRequest(uint8_t* record) override;
    void closeEditor() override;
    void editorNoOperation(uint32_t code) override;
    uint8_t idleEditor() override;
    uint64_t editorWindowHandle() override;
    void editorNotification(uint32_t a, uint32_t b) override;
    void editorNotificationSecond(uint32_t a, uint32_t b) override;
    bool editorEvent(uint32_t a, uint32_t b, uint32_t c) override;
    int32_t editorInputEvent(CoreRecords::EditorEvent& event) override;
    int32_t editorInputEventSecond(CoreRecords::EditorEvent& event) override;
    uint32_t answerWord() override;
    int32_t propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex) override;
    bool elementSetQuestion(uint32_t a, uint32_t b) override;
    int32_t settingsRequest(uint8_t* record) override;
    void storeHostOptionWord(uint32_t word) override;
    void idle() override;
    int32_t openEditor(uint64_t parentWindow, uint32_t width, uint32_t height, const uint32_t words[3],
                       bool recording) override;

    // DSP::ElementHost: the processing lock and tests are the instance's own.
    Platform::CriticalSection& GetProcessingLock() override { return threadController().processing(); }
    bool IsProcessing() const override { return isProcessing(); }
    bool IsProcessingThread() const override { return isProcessingThread(); }
    std::optional<double> GetSamplePosition() const override;

    // Processing tests, on the millisecond tick. [any-thread]
    bool isProcessing() const;                // a pass runs, or one began < 2500 ms ago
    bool isAudioFlowingBetweenBlocks() const; // no pass runs and one began < 2500 ms ago
    bool isActive() const { return active_; }
    bool isProcessingThread() const;

    // An element asks for the status words to be recomputed at the end of the
    // current block pass. [audio-thread]
    void requestStatusRecompute() { statusRecompute_.store(true, std::memory_order_release); }

    float sampleRate() const { return sampleRate_; }
    uint32_t channelConfiguration() const { return channelConfiguration_; }
    uint32_t channelCount() const { return channelCount_; }
    const std::array<uint8_t, TransportSize>& transport() const { return transport_; }
    double transportSamplePosition() const;
    bool transportValid() const { return transportValid_; }
    // Flags A and B of the block being processed. [audio-thread]
    bool blockFlagA() const { return blockFlagA_; }
    bool blockFlagB() const { return blockFlagB_; }
    ElementSet& elementSet() { return *elementSet_; }
    std::array<uint32_t, BlockHistorySize> blockSizeHistory() const { return blockSizeHistory_; }
    void setBlockSizeHistoryEnabled(bool on) { blockSizeHistoryEnabled_ = on; }
    WrapperLink::ActivationWords activationWords() const { return activationWords_; }
    bool hostOptionWordSet() const { return hostOptionSet_; }
    uint32_t hostOptionWord() const { return hostOption_; }
    PluginEditor* editor() const { return editor_.get(); }
    // Where the instance reports its use; null when the product reports nothing. [any-thread]
    UsageReporter* usageReporter() const { return usageReporter_.get(); }
    // The host's help command: opens the plug-in's own help file. [ui-thread]
    bool showHelpFile() const { return PluginHelpFile(definition()).show(editor_ != nullptr); }
    // The product's settings, "SOFTWARE/Quillex/TW6Relay". [any-thread], not audio
    Util::ConfigFile& settings() { return settings_; }
    uint32_t frozenSystemDelay() const { return frozenSystemDelay_; }

    // Undo history, kept in the history file between sessions. [ui-thread]
    uint32_t historyWord() const override;
    // The first flavour of the state chunk.
    std::vector<uint8_t> historyState() override;
    const Util::History& history() const { return history_; }

    // The values the host sees: the automatable list (selectors 8-11) and the
    // second value list, every element parameter (12-15).
    const ParamList& automatableParameters() const { return automatable_; }
    const ParamList& secondValues() const { return secondValues_; }
    enum class ValueList { Automatable, Second };
    // Offered every value the host sets, before it reaches a parameter; a hook
    // that answers 1 has taken the value. [any-thread]
    using ValueHook = std::function<uint32_t(ValueList list, uint32_t index, float value)>;
    void setValueHook(ValueHook hook) { valueHook_ = std::move(hook); }
    // The state chunk of either flavour, as selector 31 writes it. [ui-thread]
    const std::vector<uint8_t>& stateChunk(PluginState::Flavour flavour);
    // What the instance keeps besides its element parameters. [ui-thread]
    Context::ContextBase& context() { return *context_; }
    // The session identifier the saved state carries, when the product uses one.
    const Util::String& sessionIdentifier();

private:
    void runBlockPass(const CoreRecords::Process& block);
    void processSubBlocks(const CoreRecords::Process& block);
    void prepareSideBuses(const CoreRecords::Process& block);
    void recordBlockSize(uint64_t frames);
    void recordEntry(uint64_t frames);
    void recomputeStatusWords();
    void startRecording();
    void makeParameterModel();
    template <typename Call>
    int32_t onCallersSide(uint32_t lockIndex, Call&& call);
    int32_t readValue(const ParamList& list, uint32_t index, float& value, uint32_t lockIndex);
    int32_t writeValue(ValueList which, uint32_t index, float value, uint32_t lockIndex);
    PluginState::Extras stateExtras();
    bool copyStateChunk(PluginState::Flavour flavour, uint32_t size, void* buffer);
    void sendGesture(uint32_t kind, uint32_t parameterIndex);

    PluginFactory& factory_;
    Util::ConfigFile settings_;
    uint32_t frozenSystemDelay_ = 0;
    float sampleRate_;
    uint32_t channelConfiguration_;
    uint32_t channelCount_;
    std::unique_ptr<ElementSet> elementSet_;
    std::unique_ptr<PluginEditor> editor_;
    std::unique_ptr<UsageReporter> usageReporter_;

    std::atomic<bool> active_{false};
    std::atomic<bool> processing_{false};
    std::atomic<uint32_t> lastBlockTick_{0};
    std::atomic<uint32_t> processingThread_{0};
    std::atomic<bool> processingThreadValid_{false};
    std::atomic<bool> reconfiguring_{false};
    std::atomic<bool> settling_{false};
    std::atomic<bool> statusRecompute_{false};
    std::atomic<uint32_t> statusWords_[2] = {0, 0};

    std::array<uint8_t, TransportSize> transport_{};
    bool transportValid_ = false;
    bool blockFlagA_ = false;
    bool blockFlagB_ = false;
    bool blockSizeHistoryEnabled_ = true;
    std::array<uint32_t, BlockHistorySize> blockSizeHistory_;
    size_t blockSizeHistoryUsed_ = 0; // the entries before it are filled

    std::vector<float*> mainChannels_;
    std::array<std::array<float*, MaxSideBusChannels>, CoreRecords::Process::MaxSideBuses> sideChannels_{};
    std::array<ElementSet::SideBus, CoreRecords::Process::MaxSideBuses> sideBuses_{};

    // The recorded-entry list of selector 2: one 8-byte entry per block (tick in
    // the high word, frame count in the low word) while recording is on.
    std::atomic<bool> recording_{false};
    std::vector<uint64_t> recordedEntries_;
    std::atomic<uint64_t> droppedEntries_{0};
    uint64_t recordingStartTick_ = 0;
    std::atomic<uint32_t> recordingStatus_{0};

    // The parameter model and the saved state.
    std::unique_ptr<Context::ContextBase> context_;
    std::unique_ptr<PluginState> state_;
    ParamList automatable_;
    ParamList secondValues_;
    ValueHook valueHook_;
    uint32_t coreHostNumber_ = 0;
    Util::String sessionIdentifier_;

    Util::History history_;
    WrapperLink::ActivationWords activationWords_;
    std::atomic<uint32_t> hostOption_{0};
    std::atomic<bool> hostOptionSet_{false};
};
