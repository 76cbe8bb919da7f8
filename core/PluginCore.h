#pragma once
#include <atomic>
#include <cstdint>
#include <optional>

#include "core/CoreRecords.h"
#include "core/DeferredTaskQueue.h"
#include "core/HostContext.h"
#include "core/PluginCoreCallback.h"
#include "core/PluginDefinition.h"
#include "core/PluginEditor.h"
#include "core/ThreadController.h"
#include "core/WrapperLink.h"
#include "param/ElementSet.h"

// The instance as the entry protocol sees it. Holds the wrapper link, the host
// context, the product definition, the two named critical sections, the flag of
// selectors 3/4, the state-not-yet-restored flag, the host application's name
// and version, and the deferred-task queue of the idle service.
//
// The virtual operations stand in slot order; each names the selector that
// reaches it and its thread. Results are entry-protocol status codes.
class PluginCore {
public:
    PluginCore(const CoreRecords::Creation& creation, const PluginDefinition& definition);

    // Slots 0-4: the state chunk (selector 31, codes 0-4). [ui-thread]
    virtual int32_t buildStateChunk(uint32_t& size) = 0;
    virtual bool writeStateChunkSecondFlavour(uint32_t size, void* buffer) = 0;
    virtual bool writeStateChunk(uint32_t size, void* buffer) = 0;
    virtual bool restoreStateChunk(uint32_t size, const void* data, uint32_t extra) = 0;
    virtual bool restoreStateChunkWithAnswer(uint32_t size, const void* data, float value, uint32_t& answer) = 0;
    // Slots 5-7: gestures made in the editor (reverse 1). [ui-thread]
    virtual void editorGestureBegins(uint32_t parameterIndex) = 0;
    virtual void editorGestureEnds(uint32_t parameterIndex) = 0;
    virtual void editorValueChanges(uint32_t parameterIndex) = 0;
    // Slot 8: destroy (selector 7). [ui-thread]
    virtual ~PluginCore();
    // Slots 9, 10 are empty.
    // Slots 11-13. [any-thread]
    virtual int32_t activate() = 0;
    virtual int32_t deactivate() = 0;
    virtual int32_t drainRecordedEntries(const CoreRecords::Drain& request) = 0;
    // Slots 14-22: parameters (selectors 8-16). [any-thread]
    virtual uint32_t automatableParameterCount() = 0;
    virtual int32_t describeAutomatableParameters(uint32_t count, void* records) = 0;
    virtual int32_t parameterValue(uint32_t index, float& value, uint32_t lockIndex) = 0;
    virtual int32_t setParameterValue(uint32_t index, float value, uint32_t lockIndex) = 0;
    virtual uint32_t elementParameterCount() = 0;
    virtual int32_t describeSecondValues(uint32_t count, void* records) = 0;
    virtual int32_t secondValue(uint32_t index, float& value, uint32_t lockIndex) = 0;
    virtual int32_t setSecondValue(uint32_t index, float value, uint32_t lockIndex) = 0;
    virtual void editorHitTest(uint32_t x, uint32_t y, uint32_t& index, uint32_t& found) = 0;
    // Slot 23: selector 17. [any-thread]
    virtual int32_t setSampleRateAndConfiguration(float sampleRate, uint32_t channelConfiguration) = 0;
    // Slot 24 is internal. Slots 25-28: selectors 18-21.
    virtual uint32_t statusWord(uint32_t word) = 0;                            // [any-thread]
    virtual void reset() = 0;                                                   // [any-thread]
    virtual void switchRunState(bool running, bool hold, uint32_t lockIndex) = 0; // [any-thread]
    virtual void onSettle() = 0;                                                // [audio-thread]
    // Slots 29-32: selectors 22 and 23. [audio-thread]
    virtual void processBlock(const CoreRecords::Process& block) = 0;
    virtual void beforeBlock(uint32_t count, const uint8_t* items) = 0;
    virtual void afterBlock() = 0;
    virtual void processBypassed(uint64_t frames, uint64_t inputs, uint64_t outputs) = 0;
    // Slots 33-36: handed to the element set (selectors 24-27). [any-thread]
    virtual void exchangeHostWord(uint32_t& word) = 0;
    virtual void handHostFloat(float value) = 0;
    virtual void notifyElementSet() = 0;
    virtual void forwardRenderRequest(ElementSet::RenderRequest& request) = 0;
    // Slots 37-47: the editor (selectors 28-30); codes 2 to 4 of selector 28
    // do nothing in this product and reach no slot. [ui-thread]
    virtual void closeEditor() = 0;
    virtual uint8_t idleEditor() = 0;
    virtual uint64_t editorWindowHandle() = 0;
    // Codes 8 and 9 carry their two words at different places of the record.
    virtual void editorNotification(uint32_t first, uint32_t second) = 0;
    virtual bool editorEvent(uint32_t first, uint32_t second, uint32_t third) = 0;
    virtual int32_t editorInputEvent(CoreRecords::EditorEvent& event) = 0;
    virtual int32_t editorInputEventWithPoint(CoreRecords::EditorEvent& event) = 0;
    // Slots 48-54. [any-thread]
    virtual uint32_t instanceWord() = 0; // selector 34
    virtual int32_t unsupported() { return EntryProtocol::Rejected; } // selectors 35, 36
    virtual int32_t propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex) = 0;
    // Selector 32: the element set's yes or no, after which it is notified.
    virtual bool askElementSet(uint32_t subject, uint32_t detail) = 0;
    virtual int32_t settingsRequest(uint8_t* record) = 0;
    virtual void storeHostOptionWord(uint32_t word) = 0;
    // Work of the idle service after the deferred tasks. [ui-thread]
    virtual void idle() {}
    // Opening the editor (selector 28, code 0). [ui-thread]
    virtual int32_t openEditor(const PluginEditor::OpenRequest& request) = 0;

    // Non-virtual services.
    ThreadController& threadController() { return threads_; }
    const PluginDefinition& definition() const { return definition_; }
    const HostContext& hostContext() const { return hostContext_; }
    uint32_t formatIdentifier() const { return formatIdentifier_; }
    const Util::String& name() const { return name_; }
    const WrapperLink& wrapper() const { return wrapper_; }
    DeferredTaskQueue& deferredTasks() { return deferredTasks_; }
    // The idle service (selector 39): queued deferred tasks, then the instance's
    // own idle work. [ui-thread]
    void runIdleService();

    void setInstanceFlag(bool on) { instanceFlag_ = on; } // selectors 3, 4
    bool instanceFlag() const { return instanceFlag_; }
    bool stateNotYetRestored() const { return stateNotYetRestored_; }
    void clearStateNotYetRestored() { stateNotYetRestored_ = false; }
    // A restored state may say that the instance still holds its defaults.
    void setStateNotYetRestored(bool notYet) { stateNotYetRestored_ = notYet; }

    // The host application's name and version (reverse 13), asked once and kept.
    const Util::String& hostApplicationName();
    float hostApplicationVersion();

    // The version line "v%1.%2" + "WIN64." + the format's short name.
    Util::String versionLine() const;

private:
    void askHostApplication();

    WrapperLink wrapper_;
    HostContext hostContext_;
    uint32_t formatIdentifier_;
    Util::String name_;
    const PluginDefinition& definition_;
    ThreadController threads_;
    std::atomic<bool> instanceFlag_{false};
    std::atomic<bool> stateNotYetRestored_{true};
    bool hostApplicationAsked_ = false;
    Util::String hostApplicationName_;
    float hostApplicationVersion_ = 0.0f;
    DeferredTaskQueue deferredTasks_;
};
