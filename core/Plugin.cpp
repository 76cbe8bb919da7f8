#include "core/Plugin.h"

#include "core/BufferProfilerRegistry.h"
#include "core/ChannelConfiguration.h"
#include "core/HistoryFile.h"
#include "core/PluginFactory.h"
#include "core/RecordView.h"
#include "platform/MessageBox.h"
#include "util/Log.h"

#include <atomic>
using List = HostParameters::List;

Plugin::Plugin(const CoreRecords::Creation& creation, PluginFactory& factory, std::unique_ptr<ElementSet> elementSet)
    : PluginCore(creation, factory.definition(creation.hostContext)),
      DSP::ElementHost({"PluginMemoryPool", "PluginFFTPool", "Plugin Memory Allocs"}),
      factory_(factory),
      settings_(Util::format("SOFTWARE/%1/%2", definition().makerShortName(creation.hostContext).text, "TW6Relay")),
      sampleRate_(creation.sampleRate),
      channelConfiguration_(creation.channelConfiguration),
      channelCount_(ChannelConfiguration::channelCount(creation.channelConfiguration)),
      blockPass_(channelCount_),
      elementSet_(std::move(elementSet)),
      editor_([this] { return factory_.createMainWindow(*this); })
{
    frozenSystemDelay_ = settings_.GetUInt("FrozenSystemDelay", 0);
    if (settings_.GetBool(BufferProfilerRegistry::LoggingSetting, false)) {
        static std::atomic<uint32_t> serial{0};
        profiler_ = std::make_unique<BufferProfiler>(Util::format("Block Pass %1", ++serial));
    }
    if (!elementSet_) // elements take the processing lock: the instance's locks exist by now
        elementSet_ = factory.createElementSet(*this);
    makeParameterModel();
    if (creation.recording)
        entryLog_.start();
    hostApplicationName(); // reverse 13, asked once and kept
    Util::HistoryFile::load(history_, *this, Util::HistoryFile::pathFor(definition()));
    usageReporter_ = factory.createUsageReporter(*this);
    factory.registerConsoleCommands(*this, consoleCommands_);
    gestures_->setReady(true);
}

// A destructor that throws ends the process: whatever saving the history
// throws is logged and dropped.
Plugin::~Plugin()
{
    gestures_->setReady(false);
    try {
        Util::HistoryFile::save(history_, historyWord(), Util::HistoryFile::pathFor(definition()));
    } catch (const std::exception& e) {
        Util::Log::write(Util::format("The history was not saved: %1", e.what()));
    }
    editor_.close();
    elementSet_->stop();
}

void Plugin::makeParameterModel()
{
    context_ = factory_.createContext(*this);
    DSP::DSPSetImpl* set = elementSet_->dspSet();
    savedState_ = std::make_unique<SavedState>(*this, set, *context_);
    parameters_ = std::make_unique<HostParameters>(
        ParamList::automatable(set, elementSet_->parameterRegistrations()), ParamList::everyParameter(set), blockPass_);
    EditorGestures::Instance instance{[this] { return editor_.editor() != nullptr; },
                                      [this] { return reconfiguring_.load(); }};
    gestures_ = std::make_shared<EditorGestures>(wrapper(), parameters_->list(List::Automatable), std::move(instance));
    gestures_->listen(set);
}

// ---- Saved state ------------------------------------------------------------------

int32_t Plugin::buildStateChunk(uint32_t& size)
{
    size = savedState_->measure();
    return EntryProtocol::Success;
}

bool Plugin::writeStateChunkSecondFlavour(uint32_t size, void* buffer)
{
    return savedState_->write(PluginState::Flavour::Second, size, buffer);
}

bool Plugin::writeStateChunk(uint32_t size, void* buffer)
{
    return savedState_->write(PluginState::Flavour::First, size, buffer);
}

bool Plugin::restoreStateChunk(uint32_t size, const void* data, uint32_t)
{
    const EditorGestures::NotFromEditor restoring(*gestures_);
    return savedState_->restore(data, size);
}

// The host's f32 has no part in this product's state; the answer tells whether
// the state was taken.
bool Plugin::restoreStateChunkWithAnswer(uint32_t size, const void* data, float, uint32_t& answer)
{
    const EditorGestures::NotFromEditor restoring(*gestures_);
    const bool restored = savedState_->restore(data, size);
    answer = restored ? 1 : 0;
    return restored;
}

// A history written by another version of the product is not used.
uint32_t Plugin::historyWord() const { return definition().versionNumber(); }

std::vector<uint8_t> Plugin::historyState() { return savedState_->chunk(PluginState::Flavour::First); }

// ---- Editor gestures on automatable parameters (reverse 1) -----------------------

void Plugin::editorGestureBegins(uint32_t parameterIndex) { gestures_->begins(parameterIndex); }
void Plugin::editorValueChanges(uint32_t parameterIndex) { gestures_->changes(parameterIndex); }
void Plugin::editorGestureEnds(uint32_t parameterIndex) { gestures_->ends(parameterIndex); }

// ---- Lifecycle --------------------------------------------------------------

int32_t Plugin::activate()
{
    elementSet_->start();
    elementSet_->connect();
    activationWords_ = wrapper().activationWords();
    active_ = true;
    return EntryProtocol::Success;
}

int32_t Plugin::deactivate()
{
    elementSet_->stop();
    active_ = false;
    if (usageReporter_)
        usageReporter_->flush();
    return EntryProtocol::Success;
}

int32_t Plugin::drainRecordedEntries(const CoreRecords::Drain& request)
{
    entryLog_.drain(request);
    return EntryProtocol::Success;
}

// ---- The values the host sees ------------------------------------------------------

uint32_t Plugin::automatableParameterCount() { return parameters_->list(List::Automatable).count(); }

int32_t Plugin::describeAutomatableParameters(uint32_t count, void* records)
{
    return parameters_->describe(List::Automatable, count, records);
}

int32_t Plugin::parameterValue(uint32_t index, float& value, uint32_t lockIndex)
{
    return parameters_->value(List::Automatable, index, value, lockIndex);
}

int32_t Plugin::setParameterValue(uint32_t index, float value, uint32_t lockIndex)
{
    const EditorGestures::NotFromEditor hostValue(*gestures_, lockIndex != EntryProtocol::ProcessingLockIndex);
    return parameters_->setValue(List::Automatable, index, value, lockIndex);
}

uint32_t Plugin::elementParameterCount() { return elementSet_->parameterCount(); }

int32_t Plugin::describeSecondValues(uint32_t count, void* records)
{
    return parameters_->describe(List::Second, count, records);
}

int32_t Plugin::secondValue(uint32_t index, float& value, uint32_t lockIndex)
{
    return parameters_->value(List::Second, index, value, lockIndex);
}

int32_t Plugin::setSecondValue(uint32_t index, float value, uint32_t lockIndex)
{
    const EditorGestures::NotFromEditor hostValue(*gestures_, lockIndex != EntryProtocol::ProcessingLockIndex);
    return parameters_->setValue(List::Second, index, value, lockIndex);
}

// ---- Configuration and status --------------------------------------------------------

int32_t Plugin::setSampleRateAndConfiguration(float sampleRate, uint32_t configuration)
{
    if (sampleRate == sampleRate_ && configuration == channelConfiguration_)
        return EntryProtocol::Success;
    bool expected = false;
    if (!reconfiguring_.compare_exchange_strong(expected, true))
        return EntryProtocol::Success; // a request during a reconfiguration is dropped
    sampleRate_ = sampleRate;
    channelConfiguration_ = configuration;
    channelCount_ = ChannelConfiguration::channelCount(configuration);
    blockPass_.setChannelCount(channelCount_);
    elementSet_->reconfigure(sampleRate, configuration);
    gestures_->listen(elementSet_->dspSet());
    reconfiguring_ = false;
    return EntryProtocol::Success;
}

uint32_t Plugin::statusWord(uint32_t word) { return statusWords_[word == 1 ? 1 : 0].load(); }

// Word 0 is the latency the elements report; word 1 carries nothing in this product.
void Plugin::recomputeStatusWords()
{
    statusWords_[0] = elementSet_->latency();
    statusWords_[1] = 0;
}

void Plugin::reset()
{
    elementSet_->runPendingCommands();
    recomputeStatusWords();
}

// ---- Run state and the block pass ------------------------------------------------------

void Plugin::switchRunState(bool running, bool hold, uint32_t lockIndex)
{
    const bool fromUserInterface = lockIndex == EntryProtocol::UserInterfaceLockIndex;
    if (!running && !hold)
        blockPass_.forgetLastBlock();
    if (running && !hold) {
        if (fromUserInterface) {
            Platform::ScopedLock lock(threadController().processing());
            onSettle();
        } else {
            onSettle();
        }
    }
    elementSet_->runStateChanged(running);
    editor_.runStateChanged(running, fromUserInterface, !hold);
}

void Plugin::onSettle() { blockPass_.settle(*elementSet_); }

void Plugin::processBlock(const CoreRecords::Process& block)
{
    if (block.frameCount == 0)
        return;
    beforeBlock(block.beforeBlockCount, block.beforeBlockItems);
    entryLog_.record(block.frameCount);
    if (profiler_) {
        const uint64_t started = profiler_->begin();
        blockPass_.run(block, *elementSet_);
        profiler_->end(started, block.frameCount, sampleRate_);
    } else {
        blockPass_.run(block, *elementSet_);
    }
    reportStatusRecompute();
    afterBlock();
}

// When an element asked for it during the block, on the processing thread.
void Plugin::reportStatusRecompute()
{
    if (!statusRecompute_.load(std::memory_order_acquire) || !statusRecompute_.exchange(false, std::memory_order_acq_rel))
        return;
    recomputeStatusWords();
    wrapper().statusWordChanged(0, statusWords_[0]);
}

void Plugin::beforeBlock(uint32_t count, const uint8_t* items) { elementSet_->beforeBlock(count, items); }

void Plugin::afterBlock() { elementSet_->afterBlock(); }

void Plugin::processBypassed(uint64_t frames, uint64_t inputs, uint64_t outputs)
{
    if (frames == 0)
        return;
    elementSet_->bypass(frames, reinterpret_cast<float* const*>(uintptr_t(inputs)),
                        reinterpret_cast<float* const*>(uintptr_t(outputs)), channelCount_);
}

// ---- What the element set is told ---------------------------------------------------------

void Plugin::exchangeHostWord(uint32_t& word) { word = elementSet_->exchangeHostWord(word); }
void Plugin::handHostFloat(float value) { elementSet_->hostValue(value); }
void Plugin::notifyElementSet() { elementSet_->notify(); }
void Plugin::forwardRenderRequest(ElementSet::RenderRequest& request) { elementSet_->renderRequest(request); }

bool Plugin::askElementSet(uint32_t subject, uint32_t detail)
{
    const bool yes = elementSet_->answersYes(subject, detail);
    notifyElementSet();
    return yes;
}

// Codes 3 to 5 set options the host means for every instance of the process;
// no part of this product reads them, so they are accepted and dropped.
int32_t Plugin::settingsRequest(uint8_t* record)
{
    using Layout = EntryProtocol::Layout::Settings;
    using Code = EntryProtocol::SettingsCode;
    const RecordView r(record);
    switch (Code(r.get(Layout::Code))) {
    case Code::ElementCount:
        r.set(Layout::ElementCount, elementSet_->elementCount());
        return EntryProtocol::Success;
    case Code::AddressItem: { // the element and the item are both counted against the elements
        const uint32_t count = elementSet_->elementCount();
        return r.get(Layout::Element) < count && r.get(Layout::Item) < count ? EntryProtocol::Success
                                                                             : EntryProtocol::Rejected;
    }
    case Code::ElementSetValues:
        elementSet_->hostContext(r.get(Layout::Values).bits, r.get(Layout::ValuesWord), r.get(Layout::ValuesFlag) != 0);
        return EntryProtocol::Success;
    case Code::SharedOptionWord:
    case Code::SharedOptionFlag:
    case Code::SharedOptionPair:
        return EntryProtocol::Success;
    default:
        return EntryProtocol::Rejected;
    }
}

void Plugin::storeHostOptionWord(uint32_t word)
{
    hostOption_ = word;
    hostOptionSet_ = true;
}

uint32_t Plugin::instanceWord() { return 0; }

int32_t Plugin::propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex)
{
    namespace PropertyId = EntryProtocol::PropertyId;
    if (id == PropertyId::Ignored)
        return EntryProtocol::Success;
    if (id == PropertyId::EditorText) {
        const char* text = reinterpret_cast<const char*>(uintptr_t(data));
        return editor_.showText(text ? Util::String(text, size) : Util::String());
    }
    if (elementSet_->propertyMessage(id, size, data))
        return EntryProtocol::Success;
    // What the element set does not take, the editor may, on the UI side.
    if (lockIndex == EntryProtocol::UserInterfaceLockIndex && editor_.takesPropertyMessage(id, size, data))
        return EntryProtocol::Success;
    return EntryProtocol::Rejected;
}

// ---- Editor ---------------------------------------------------------------------

int32_t Plugin::openEditor(const PluginEditor::OpenRequest& request)
{
    if (request.recording && !entryLog_.recording())
        entryLog_.start();
    const int32_t status = editor_.open(request);
    if (status == EntryProtocol::Success && usageReporter_)
        usageReporter_->editorOpened(Util::format("%1 %2", hostApplicationName(), hostApplicationVersion()),
                                     ChannelConfiguration::name(channelConfiguration_));
    return status;
}

void Plugin::closeEditor()
{
    elementSet_->editorClosing();
    editor_.close();
}

void Plugin::idle()
{
    // The window's timers, native events and drawing run here, inside the wrapper's call.
    Platform::ScopedLock hold(threadController().userInterface());
    {
        const EditorGestures::NotFromEditor delivering(*gestures_); // what the audio side changed reaches this side
        elementSet_->idle();
    }
    editor_.idle();
    showDropoutAlert();
}

// The audio thread only marks a dropout; the notice is raised here, on the
// user-interface side. An alert taken while alerts are off is dropped.
void Plugin::showDropoutAlert()
{
    if (!profiler_)
        return;
    const auto load = profiler_->takeAlert();
    const auto& registry = BufferProfilerRegistry::instance();
    if (!load || !registry.alertsEnabled())
        return;
    Platform::messageBox().show("Dropout Alert",
                                Util::format("%1 took %2% of a block's real-time budget (dropout threshold %3%).",
                                             profiler_->name(), int(*load + 0.5), registry.thresholdPercent()),
                                Platform::MessageBox::Icon::Warning);
}

void Plugin::editorHitTest(uint32_t x, uint32_t y, uint32_t& index, uint32_t& found)
{
    editor_.hitTest(x, y, index, found);
}

uint8_t Plugin::idleEditor() { return editor_.idle(); }

uint64_t Plugin::editorWindowHandle() { return editor_.windowHandle(); }

void Plugin::editorNotification(uint32_t first, uint32_t second) { editor_.notify(first, second); }

bool Plugin::editorEvent(uint32_t first, uint32_t second, uint32_t third) { return editor_.event(first, second, third); }

int32_t Plugin::editorInputEvent(CoreRecords::EditorEvent& event)
{
    editor_.inputEvent(event);
    return EntryProtocol::Success;
}

int32_t Plugin::editorInputEventWithPoint(CoreRecords::EditorEvent& event)
{
    editor_.inputEventWithPoint(event);
    return EntryProtocol::Success;
}
