#include "core/Plugin.h"

#include "core/ChannelConfiguration.h"
#include "core/HistoryFile.h"
#include "core/PluginFactory.h"
#include "core/RecordView.h"
#include "platform/Clock.h"
#include "platform/ThreadId.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <random>

namespace {

constexpr size_t TransportPositionOffset = 24;
constexpr size_t TransportPlayingOffset = 32;

// Options of selector 37 codes 3 to 5: shared by every instance of the process.
struct SharedOptions {
    std::atomic<uint32_t> word{0};
    std::atomic<bool> flag{false};
    std::atomic<uint64_t> first{0};
    std::atomic<uint64_t> second{0};
};
SharedOptions sharedOptions;

// Guards the recorded-entry list between the audio side (which only tries it)
// and the drain of selector 2.
std::mutex recordingMutex;

// The host whose saved state carries "PT Default State".
constexpr uint32_t DefaultStateHostNumber = 2;

// A random (version 4) UUID in its usual text form.
Util::String newSessionIdentifier()
{
    std::random_device seed;
    std::mt19937_64 random((uint64_t(seed()) << 32) ^ seed());
    uint8_t bytes[16];
    for (auto& byte : bytes)
        byte = uint8_t(random());
    bytes[6] = uint8_t((bytes[6] & 0x0F) | 0x40);
    bytes[8] = uint8_t((bytes[8] & 0x3F) | 0x80);
    static const char digits[] = "0123456789abcdef";
    Util::String text;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text += '-';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace

Plugin::Plugin(const CoreRecords::Creation& creation, PluginFactory& factory, std::unique_ptr<ElementSet> elementSet)
    : PluginCore(creation, factory.definition(creation.hostContext)),
      factory_(factory),
      settings_(Util::format("SOFTWARE/%1/%2", definition().makerShortName(creation.hostContext).text, "TW6Relay")),
      sampleRate_(creation.sampleRate),
      channelConfiguration_(creation.channelConfiguration),
      channelCount_(ChannelConfiguration::channelCount(creation.channelConfiguration)),
      elementSet_(std::move(elementSet))
{
    blockSizeHistory_.fill(FreeHistoryEntry);
    mainChannels_.assign(channelCount_, nullptr);
    frozenSystemDelay_ = settings_.GetUInt("FrozenSystemDelay", 0);
    if (!elementSet_) // elements take the processing lock: the instance's locks exist by now
        elementSet_ = factory.createElementSet(*this);
    makeParameterModel();
    if (creation.recording)
        startRecording();
    hostApplicationName(); // reverse 13, asked once and kept
    Util::HistoryFile::load(history_, *this, Util::HistoryFile::pathFor(definition()));
    usageReporter_ = factory.createUsageReporter(*this);
}

Plugin::~Plugin()
{
    Util::HistoryFile::save(history_, historyWord(), Util::HistoryFile::pathFor(definition()));
    if (editor_)
        editor_->close();
    editor_.reset();
    elementSet_->stop();
}

// ---- Parameter model and state chunk ----------------------------------------

void Plugin::makeParameterModel()
{
    context_ = factory_.createContext(*this);
    DSP::DSPSetImpl* set = elementSet_->dspSet();
    state_ = std::make_unique<PluginState>(set, *context_);
    automatable_ = ParamList::automatable(set, elementSet_->parameterRegistrations());
    secondValues_ = ParamList::everyParameter(set);
    coreHostNumber_ = definition().hostNumber();
}

const Util::String& Plugin::sessionIdentifier()
{
    if (sessionIdentifier_.empty())
        sessionIdentifier_ = newSessionIdentifier();
    return sessionIdentifier_;
}

PluginState::Extras Plugin::stateExtras()
{
    PluginState::Extras extras;
    if (coreHostNumber_ == DefaultStateHostNumber)
        extras.defaultState = stateNotYetRestored();
    if (definition().usesSessionIdentifier())
        extras.sessionIdentifier = sessionIdentifier();
    return extras;
}

const std::vector<uint8_t>& Plugin::stateChunk(PluginState::Flavour flavour)
{
    return state_->chunk(flavour, stateExtras());
}

int32_t Plugin::buildStateChunk(uint32_t& size)
{
    size = uint32_t(stateChunk(PluginState::Flavour::First).size());
    return EntryProtocol::Success;
}

// The chunk goes out only whole, into a buffer of exactly its size.
bool Plugin::copyStateChunk(PluginState::Flavour flavour, uint32_t size, void* buffer)
{
    const auto& chunk = stateChunk(flavour);
    if (chunk.empty() || !buffer || size != chunk.size())
        return false;
    std::memcpy(buffer, chunk.data(), chunk.size());
    return true;
}

bool Plugin::writeStateChunkSecondFlavour(uint32_t size, void* buffer)
{
    return copyStateChunk(PluginState::Flavour::Second, size, buffer);
}

bool Plugin::writeStateChunk(uint32_t size, void* buffer)
{
    if (!copyStateChunk(PluginState::Flavour::First, size, buffer))
        return false;
    clearStateNotYetRestored();
    return true;
}

bool Plugin::restoreStateChunk(uint32_t size, const void* data, uint32_t)
{
    clearStateNotYetRestored();
    const auto taken = state_->restore(static_cast<const uint8_t*>(data), size);
    if (!taken)
        return false;
    if (taken->defaultState)
        setStateNotYetRestored(*taken->defaultState);
    if (taken->sessionIdentifier)
        sessionIdentifier_ = *taken->sessionIdentifier;
    return true;
}

// The host's f32 has no part in this product's state; the answer tells whether
// the state was taken.
bool Plugin::restoreStateChunkVariant(uint32_t size, const void* data, float, uint32_t& answer)
{
    const bool restored = restoreStateChunk(size, data, 0);
    answer = restored ? 1 : 0;
    return restored;
}

// A history written by another version of the product is not used.
uint32_t Plugin::historyWord() const { return definition().versionNumber(); }

std::vector<uint8_t> Plugin::historyState() { return stateChunk(PluginState::Flavour::First); }

// ---- Editor gestures on automatable parameters (reverse 1) -----------------------

void Plugin::sendGesture(uint32_t kind, uint32_t parameterIndex)
{
    if (const auto value = automatable_.value(parameterIndex))
        wrapper().parameterGesture(kind, parameterIndex, *value);
}

void Plugin::editorGestureBegins(uint32_t parameterIndex) { sendGesture(0, parameterIndex); }
void Plugin::editorValueChanges(uint32_t parameterIndex) { sendGesture(1, parameterIndex); }
void Plugin::editorGestureEnds(uint32_t parameterIndex) { sendGesture(2, parameterIndex); }

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

void Plugin::startRecording()
{
    std::lock_guard<std::mutex> lock(recordingMutex);
    recordedEntries_.clear();
    recordedEntries_.reserve(RecordingCapacity);
    recordingStartTick_ = Platform::tickCount();
    recording_ = true;
}

void Plugin::recordEntry(uint64_t frames)
{
    if (!recording_.load(std::memory_order_acquire))
        return;
    std::unique_lock<std::mutex> lock(recordingMutex, std::try_to_lock);
    if (!lock.owns_lock() || recordedEntries_.size() >= recordedEntries_.capacity()) {
        ++droppedEntries_;
        return;
    }
    recordedEntries_.push_back((uint64_t(Platform::tickCount()) << 32) | (frames & 0xFFFFFFFFu));
    recordingStatus_ = 1;
}

int32_t Plugin::drainRecordedEntries(const CoreRecords::Drain& request)
{
    std::lock_guard<std::mutex> lock(recordingMutex);
    *request.status = recordingStatus_;
    *request.constant = 200;
    *request.count = uint32_t(recordedEntries_.size());
    *request.valueA = droppedEntries_;
    *request.valueB = recordingStartTick_;
    if (request.entries) {
        std::copy(recordedEntries_.begin(), recordedEntries_.end(), request.entries);
        recordedEntries_.clear();
        recordingStatus_ = 0;
    }
    return EntryProtocol::Success;
}

// ---- Parameters ------------------------------------------------------------------

// A call from the processing side (lock index 0) acts on the audio side's
// values: the calling thread is the processing thread while it runs. A read sees
// what the audio side uses; a write stores the value there directly, without
// allocating a command for the trip from the user-interface side.
template <typename Call>
int32_t Plugin::onCallersSide(uint32_t lockIndex, Call&& call)
{
    if (lockIndex != ThreadController::ProcessingIndex)
        return call();
    const uint32_t thread = processingThread_.exchange(Platform::currentThreadId());
    const bool valid = processingThreadValid_.exchange(true);
    const int32_t status = call();
    processingThreadValid_ = valid;
    processingThread_ = thread;
    return status;
}

int32_t Plugin::readValue(const ParamList& list, uint32_t index, float& value, uint32_t lockIndex)
{
    return onCallersSide(lockIndex, [&] {
        const auto read = list.value(index);
        if (!read)
            return EntryProtocol::Rejected;
        value = *read;
        return EntryProtocol::Success;
    });
}

int32_t Plugin::writeValue(ValueList which, uint32_t index, float value, uint32_t lockIndex)
{
    const ParamList& list = which == ValueList::Automatable ? automatable_ : secondValues_;
    if (index >= list.count())
        return EntryProtocol::Rejected;
    if (valueHook_ && valueHook_(which, index, value) == 1)
        return EntryProtocol::Success;
    return onCallersSide(lockIndex, [&] {
        return list.setValue(index, value) ? EntryProtocol::Success : EntryProtocol::Rejected;
    });
}

uint32_t Plugin::automatableParameterCount() { return automatable_.count(); }

int32_t Plugin::describeAutomatableParameters(uint32_t count, void* records)
{
    return automatable_.describe(count, records) ? EntryProtocol::Success : EntryProtocol::Rejected;
}

int32_t Plugin::parameterValue(uint32_t index, float& value, uint32_t lockIndex)
{
    return readValue(automatable_, index, value, lockIndex);
}

int32_t Plugin::setParameterValue(uint32_t index, float value, uint32_t lockIndex)
{
    return writeValue(ValueList::Automatable, index, value, lockIndex);
}

uint32_t Plugin::elementParameterCount() { return elementSet_->parameterCount(); }

int32_t Plugin::describeSecondValues(uint32_t count, void* records)
{
    return secondValues_.describe(count, records) ? EntryProtocol::Success : EntryProtocol::Rejected;
}

int32_t Plugin::secondValue(uint32_t index, float& value, uint32_t lockIndex)
{
    return readValue(secondValues_, index, value, lockIndex);
}

int32_t Plugin::setSecondValue(uint32_t index, float value, uint32_t lockIndex)
{
    return writeValue(ValueList::Second, index, value, lockIndex);
}

void Plugin::editorHitTest(uint32_t x, uint32_t y, uint32_t& index, uint32_t& found)
{
    if (!editor_)
        return;
    const auto hits = editor_->hitTest(x, y);
    if (hits.size() == 1) {
        index = hits.front();
        found = 1;
    }
}

// ---- Configuration ----------------------------------------------------------------

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
    mainChannels_.assign(channelCount_, nullptr);
    elementSet_->reconfigure(sampleRate, configuration);
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

void Plugin::switchRunState(bool a, bool b, uint32_t lockIndex)
{
    if (!a && !b) {
        processing_ = false;
        lastBlockTick_ = 0;
    }
    if (a && !b) {
        if (lockIndex == ThreadController::UserInterfaceIndex) {
            Platform::ScopedLock lock(threadController().processing());
            settling_ = true;
            onSettle();
            settling_ = false;
        } else {
            onSettle();
        }
    }
    elementSet_->runStateChanged(a);
    if (editor_)
        editor_->runStateChanged(a, lockIndex == ThreadController::UserInterfaceIndex, !b);
}

void Plugin::onSettle()
{
    processingThread_ = Platform::currentThreadId();
    processingThreadValid_ = true;
    elementSet_->runPendingCommands();
    processingThreadValid_ = false;
}

// ---- The block pass -----------------------------------------------------------------

void Plugin::processBlock(const CoreRecords::Process& block)
{
    if (block.frameCount == 0)
        return;
    beforeBlock(block.beforeBlockCount, block.beforeBlockItems);
    runBlockPass(block);
    afterBlock();
}

void Plugin::beforeBlock(uint32_t count, const uint8_t* items) { elementSet_->beforeBlock(count, items); }

void Plugin::afterBlock() { elementSet_->afterBlock(); }

void Plugin::runBlockPass(const CoreRecords::Process& block)
{
    // Release stores: the flags are read as flags on other threads, and a
    // sequentially consistent store costs a full barrier on every block.
    constexpr auto release = std::memory_order_release;
    uint32_t tick = Platform::tickCount();
    lastBlockTick_.store(tick ? tick : 1, release); // 0 means "no block yet"
    processing_.store(true, release);
    processingThread_.store(Platform::currentThreadId(), release);
    processingThreadValid_.store(true, release);

    transportValid_ = block.transport != nullptr;
    if (block.transport)
        std::memcpy(transport_.data(), block.transport, TransportSize);
    blockFlagA_ = block.flagA;
    blockFlagB_ = block.flagB;
    recordBlockSize(block.frameCount);
    recordEntry(block.frameCount);
    elementSet_->runPendingCommands();
    processSubBlocks(block);

    processingThreadValid_.store(false, release);
    processing_.store(false, release);

    if (statusRecompute_.load(std::memory_order_acquire) && statusRecompute_.exchange(false, std::memory_order_acq_rel)) {
        recomputeStatusWords();
        wrapper().statusWordChanged(0, statusWords_[0]);
    }
}

void Plugin::recordBlockSize(uint64_t frames)
{
    if (!blockSizeHistoryEnabled_ || blockSizeHistoryUsed_ == blockSizeHistory_.size())
        return;
    blockSizeHistory_[blockSizeHistoryUsed_++] = uint32_t(frames);
}

void Plugin::prepareSideBuses(const CoreRecords::Process& block)
{
    const uint32_t buses = std::min(block.sideBusCount, CoreRecords::Process::MaxSideBuses);
    for (uint32_t b = 0; b < buses; ++b) {
        const auto& bus = block.sideBuses[b];
        uint32_t count = std::min<uint32_t>(bus.channelCount, MaxSideBusChannels);
        if (!bus.channels)
            count = 0;
        const bool holdsNull = count > 0 && std::any_of(bus.channels, bus.channels + count, [](float* p) { return !p; });
        if (holdsNull)
            count = bus.channels[0] ? 1 : 0; // a broken list passes as its first channel alone
        sideBuses_[b] = {sideChannels_[b].data(), count};
    }
}

void Plugin::processSubBlocks(const CoreRecords::Process& block)
{
    prepareSideBuses(block);
    const uint32_t buses = std::min(block.sideBusCount, CoreRecords::Process::MaxSideBuses);
    const uint64_t maxSub = elementSet_->maxSubBlockSize();
    const bool playing = block.transport && RecordView(transport_.data()).u32(TransportPlayingOffset) != 0;

    uint64_t offset = 0;
    while (offset < block.frameCount) {
        const uint64_t n = std::min(block.frameCount - offset, maxSub);
        for (uint32_t c = 0; c < channelCount_; ++c)
            mainChannels_[c] = block.channels && block.channels[c] ? block.channels[c] + offset : nullptr;
        for (uint32_t b = 0; b < buses; ++b)
            for (uint32_t c = 0; c < sideBuses_[b].channelCount; ++c)
                sideChannels_[b][c] = block.sideBuses[b].channels[c] + offset;
        elementSet_->processSubBlock(uint32_t(n), mainChannels_.data(), channelCount_, sideBuses_.data(), buses);
        if (playing) {
            const RecordView t(transport_.data());
            t.set<double>(TransportPositionOffset, t.get<double>(TransportPositionOffset) + double(n));
        }
        offset += n;
    }
    std::fill(mainChannels_.begin(), mainChannels_.end(), nullptr);
}

double Plugin::transportSamplePosition() const
{
    return RecordView(const_cast<uint8_t*>(transport_.data())).get<double>(TransportPositionOffset);
}

void Plugin::processBypassed(uint64_t frames, uint64_t inputs, uint64_t outputs)
{
    if (frames == 0)
        return;
    elementSet_->bypass(frames, reinterpret_cast<float* const*>(uintptr_t(inputs)),
                        reinterpret_cast<float* const*>(uintptr_t(outputs)), channelCount_);
}

std::optional<double> Plugin::GetSamplePosition() const
{
    if (!transportValid_)
        return std::nullopt;
    return transportSamplePosition();
}

bool Plugin::isProcessing() const
{
    if (processing_.load())
        return true;
    const uint32_t last = lastBlockTick_.load();
    return last != 0 && Platform::tickCount() - last < ProcessingGraceMs;
}

bool Plugin::isAudioFlowingBetweenBlocks() const
{
    const uint32_t last = lastBlockTick_.load();
    return !processing_.load() && last != 0 && Platform::tickCount() - last < ProcessingGraceMs;
}

bool Plugin::isProcessingThread() const
{
    return processingThreadValid_.load() && processingThread_.load() == Platform::currentThreadId();
}

// ---- Element-set forwards ---------------------------------------------------------

void Plugin::forwardWord(uint32_t& word) { word = elementSet_->answerWord(word); }
void Plugin::forwardFloat(float value) { elementSet_->hostValue(value); }
void Plugin::notifyElementSet() { elementSet_->notify(); }

void Plugin::forwardRenderRequest(uint8_t* record) { elementSet_->renderRequest(record); }

bool Plugin::elementSetQuestion(uint32_t a, uint32_t b)
{
    const bool yes = elementSet_->question(a, b);
    notifyElementSet();
    return yes;
}

int32_t Plugin::settingsRequest(uint8_t* record)
{
    const RecordView r(record);
    switch (r.u32(0)) {
    case 0:
        r.setU32(4, elementSet_->elementCount());
        return EntryProtocol::Success;
    case 1:
        return r.u32(4) < elementSet_->elementCount() ? EntryProtocol::Success : EntryProtocol::Rejected;
    case 2:
        return EntryProtocol::Success; // the pass-through set takes no values
    case 3:
        sharedOptions.word = r.u32(300);
        return EntryProtocol::Success;
    case 4:
        sharedOptions.flag = r.u32(304) != 0;
        return EntryProtocol::Success;
    case 5:
        sharedOptions.first = r.u64(312);
        sharedOptions.second = r.u64(320);
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

uint32_t Plugin::answerWord() { return 0; }

// ---- Editor ---------------------------------------------------------------------

int32_t Plugin::openEditor(uint64_t parentWindow, uint32_t width, uint32_t height, const uint32_t words[3],
                           bool recording)
{
    if (recording && !recording_)
        startRecording();
    if (editor_)
        closeEditor();
    auto editor = factory_.createMainWindow(*this);
    if (!editor)
        return EntryProtocol::EditorFailed;
    PluginEditor::OpenRequest request;
    request.parentWindow = parentWindow;
    request.width = width;
    request.height = height;
    std::copy(words, words + 3, request.words);
    request.recording = recording;
    if (!editor->open(request))
        return EntryProtocol::EditorFailed;
    editor_ = std::move(editor);
    if (usageReporter_)
        usageReporter_->editorOpened(Util::format("%1 %2", hostApplicationName(), hostApplicationVersion()),
                                     ChannelConfiguration::name(channelConfiguration_));
    return EntryProtocol::Success;
}

void Plugin::closeEditor()
{
    if (!editor_)
        return;
    editor_->close();
    editor_.reset();
}

void Plugin::editorNoOperation(uint32_t) {}

void Plugin::idle()
{
    // The window's timers, native events and drawing run here, inside the wrapper's call.
    Platform::ScopedLock hold(threadController().userInterface());
    elementSet_->idle();
    if (editor_)
        editor_->idle();
}

uint8_t Plugin::idleEditor() { return editor_ ? editor_->idle() : 1; }

uint64_t Plugin::editorWindowHandle() { return editor_ ? editor_->windowHandle() : 0; }

void Plugin::editorNotification(uint32_t a, uint32_t b)
{
    if (editor_)
        editor_->notify(a, b);
}

void Plugin::editorNotificationSecond(uint32_t a, uint32_t b)
{
    if (editor_)
        editor_->notify(a, b);
}

bool Plugin::editorEvent(uint32_t a, uint32_t b, uint32_t c) { return editor_ && editor_->event(a, b, c); }

int32_t Plugin::editorInputEvent(CoreRecords::EditorEvent& e)
{
    e.answer = editor_ ? editor_->inputEvent(e.words[0], e.words[1], e.words[2], e.words[3], e.words[4]) : 0;
    return EntryProtocol::Success;
}

int32_t Plugin::editorInputEventSecond(CoreRecords::EditorEvent& e)
{
    e.answer = editor_ ? editor_->inputEvent2(e.words[0], e.words[1], e.words[2], e.words[3], e.words[4],
                                                e.useCurrentPoint)
                         : 0;
    return EntryProtocol::Success;
}

int32_t Plugin::propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex)
{
    constexpr uint32_t Ignored = 0x8070A002u;
    constexpr uint32_t EditorText = 0x800523BCu;
    if (id == Ignored)
        return EntryProtocol::Success;
    if (id == EditorText) {
        if (!editor_)
            return EntryProtocol::EditorFailed;
        const char* text = reinterpret_cast<const char*>(uintptr_t(data));
        editor_->propertyText(text ? Util::String(text, size) : Util::String());
        return EntryProtocol::Success;
    }
    if (elementSet_->propertyMessage(id, size, data))
        return EntryProtocol::Success;
    // What the element set does not take, the editor may, on the UI side.
    if (lockIndex == ThreadController::UserInterfaceIndex && editor_ && editor_->propertyMessage(id, size, data))
        return EntryProtocol::Success;
    return EntryProtocol::Rejected;
}
