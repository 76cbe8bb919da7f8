#include "core/EntryDispatcher.h"

#include "core/EntryProtocol.h"
#include "core/PluginCore.h"
#include "core/PluginFactory.h"
#include "core/PluginInformation.h"
#include "core/RecordView.h"

#include <algorithm>

using namespace EntryProtocol;

namespace {

// ---- Selectors that run without an instance ------------------------------------

int32_t describePlugin(void* record)
{
    const RecordView r(record);
    void* reply = r.pointer(Layout::InformationRequest::Reply);
    if (!reply)
        return NullRecord;
    const auto context = HostContext::fromBytes(r.data() + Layout::InformationRequest::HostContextBlock);
    PluginInformation::fill(PluginFactory::instance().definition(context), context, reply);
    return Success;
}

// The result pointer holds null until an instance exists: a creation that
// throws leaves the wrapper without one.
int32_t createInstance(void* record)
{
    using Layout = Layout::Creation;
    const RecordView r(record);
    auto** result = r.pointer<void*>(Layout::Result);
    if (!result)
        return NullRecord;
    *result = nullptr;
    CoreRecords::Creation creation;
    creation.callback = r.pointer<std::remove_pointer_t<PluginCoreCallbackFn>>(Layout::Callback);
    creation.wrapperHandle = r.pointer(Layout::WrapperHandle);
    creation.name = r.text(Layout::Name);
    creation.hostContext = HostContext::fromBytes(r.data() + Layout::HostContextBlock);
    creation.sampleRate = r.get(Layout::SampleRate);
    creation.channelConfiguration = r.get(Layout::ChannelConfiguration);
    creation.recording = r.get(Layout::Recording) != 0;
    if (!creation.callback)
        return Rejected; // every reverse call goes through the callback
    *result = PluginFactory::instance().createPlugin(creation);
    return Success;
}

// ---- Selector groups ------------------------------------------------------------

int32_t readValue(PluginCore& p, Selector selector, uint32_t lockIndex, const RecordView& r)
{
    float value = 0.0f;
    const uint32_t index = r.get(Layout::ParameterValue::Index);
    const int32_t status = selector == Selector::GetParameterValue ? p.parameterValue(index, value, lockIndex)
                                                                   : p.secondValue(index, value, lockIndex);
    if (status == Success)
        r.set(Layout::ParameterValue::Value, value);
    return status;
}

int32_t hitTest(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::HitTest;
    uint32_t index = r.get(Layout::Index), found = r.get(Layout::Found);
    p.editorHitTest(r.get(Layout::X), r.get(Layout::Y), index, found);
    r.set(Layout::Index, index);
    r.set(Layout::Found, found);
    return Success;
}

CoreRecords::Process readProcessRecord(const RecordView& r)
{
    using Layout = Layout::Process;
    CoreRecords::Process block;
    block.frameCount = r.get(Layout::FrameCount);
    block.channels = r.pointer<float*>(Layout::Channels);
    block.transport = r.pointer<uint8_t>(Layout::Transport);
    block.sideBusCount = std::min(r.get(Layout::SideBusCount), Layout::MaxSideBuses);
    block.beforeBlockCount = r.get(Layout::BeforeBlockCount);
    block.beforeBlockItems = r.data() + Layout::BeforeBlockItems;
    for (uint32_t b = 0; b < Layout::MaxSideBuses; ++b) {
        block.sideBuses[b].channels = r.pointer<float*>(Layout::sideBusChannels(b));
        block.sideBuses[b].channelCount = r.get(Layout::sideBusChannelCount(b));
    }
    block.analysisPass = r.get(Layout::AnalysisPass) != 0;
    return block;
}

int32_t processBypassed(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::Bypass;
    const uint64_t frames = r.get(Layout::FrameCount);
    if (frames != 0)
        p.processBypassed(frames, r.get<uint64_t>(Layout::Inputs.offset), r.get<uint64_t>(Layout::Outputs.offset));
    return Success;
}

int32_t forwardRenderRequest(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::RenderRequest;
    ElementSet::RenderRequest request{r.get(Layout::First), r.get(Layout::Second), r.get(Layout::Third),
                                      r.get(Layout::Fourth), r.get(Layout::Flag), 0};
    p.forwardRenderRequest(request);
    r.set(Layout::Flag, request.flag);
    r.set(Layout::Answer, request.answer);
    return Success;
}

int32_t openEditor(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::Editor;
    PluginEditor::OpenRequest request;
    request.parentWindow = r.get(Layout::ParentWindow);
    request.width = r.get(Layout::Width);
    request.height = r.get(Layout::Height);
    request.words[0] = r.get(Layout::OpenWord1);
    request.words[1] = r.get(Layout::OpenWord2);
    request.words[2] = r.get(Layout::OpenFlag);
    request.recording = r.get(Layout::Recording) != 0;
    return p.openEditor(request);
}

int32_t editorOperation(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::Editor;
    switch (EditorCode(r.get(Layout::Code))) {
    case EditorCode::Open: return openEditor(p, r);
    case EditorCode::Close: p.closeEditor(); return Success;
    case EditorCode::NoOperation2:
    case EditorCode::NoOperation3:
    case EditorCode::NoOperation4: return Success;
    case EditorCode::Idle: r.set(Layout::IdleAnswer, uint32_t(p.idleEditor())); return Success;
    case EditorCode::WindowHandle: r.set(Layout::WindowHandle, p.editorWindowHandle()); return Success;
    case EditorCode::Event:
        if (p.editorEvent(r.get(Layout::EventWord1), r.get(Layout::EventWord2), r.get(Layout::EventWord3)))
            r.set(Layout::EventHandled, 1);
        return Success;
    case EditorCode::Notification: p.editorNotification(r.get(Layout::Width), r.get(Layout::Height)); return Success;
    case EditorCode::NotificationInSizeWords:
        p.editorNotification(r.get(Layout::SizeWidth), r.get(Layout::SizeHeight));
        return Success;
    case EditorCode::ConstrainSize: {
        const auto& d = p.definition();
        r.set(Layout::SizeWidth,
              std::clamp(r.get(Layout::SizeWidth), d.minimumEditorWidth().value, d.maximumEditorWidth().value));
        r.set(Layout::SizeHeight,
              std::clamp(r.get(Layout::SizeHeight), d.minimumEditorHeight().value, d.maximumEditorHeight().value));
        return Success;
    }
    case EditorCode::Mode:
        r.set(Layout::ModeAnswer, 0); // this product's only mode
        r.set(Layout::ModeKnown, 1);
        return Success;
    default: return Rejected;
    }
}

template <typename Layout>
CoreRecords::EditorEvent readEditorEvent(const RecordView& r)
{
    CoreRecords::EditorEvent event;
    for (size_t i = 0; i < Layout::WordCount; ++i)
        event.words[i] = r.get(Layout::word(i));
    return event;
}

// Only the low byte of the instance's status goes back.
int32_t editorInputEvent(PluginCore& p, const RecordView& r)
{
    auto event = readEditorEvent<Layout::InputEvent>(r);
    const int32_t status = p.editorInputEvent(event);
    r.set(Layout::InputEvent::Answer, event.answer);
    return status & 0xFF;
}

int32_t editorInputEventWithPoint(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::InputEventWithPoint;
    auto event = readEditorEvent<Layout>(r);
    event.useCurrentPoint = r.get(Layout::UseCurrentPoint) != 0;
    const int32_t status = p.editorInputEventWithPoint(event);
    r.set(Layout::Answer, event.answer);
    return status & 0xFF;
}

int32_t stateChunkOperation(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::StateChunk;
    const uint32_t size = r.get(Layout::ChunkSize);
    bool done = true;
    switch (ChunkCode(r.get(Layout::Code))) {
    case ChunkCode::BuildAndMeasure: {
        uint32_t built = 0;
        const int32_t status = p.buildStateChunk(built);
        r.set(Layout::ChunkSize, built);
        return status;
    }
    case ChunkCode::WriteSecondFlavour: done = p.writeStateChunkSecondFlavour(size, r.pointer(Layout::Buffer)); break;
    case ChunkCode::WriteFirstFlavour: done = p.writeStateChunk(size, r.pointer(Layout::Buffer)); break;
    case ChunkCode::Restore:
        done = p.restoreStateChunk(size, r.pointer<const void>(Layout::Buffer), r.get(Layout::RestoreExtra));
        break;
    case ChunkCode::RestoreWithAnswer: {
        uint32_t answer = 0;
        done = p.restoreStateChunkWithAnswer(size, r.pointer<const void>(Layout::Buffer), r.get(Layout::RestoreValue),
                                             answer);
        r.set(Layout::RestoreAnswer, answer);
        break;
    }
    default: return Rejected;
    }
    if (!done)
        r.set(Layout::Failed, 1);
    return Success;
}

// This product declares no data items in either table.
int32_t dataItemQuery(const RecordView& r)
{
    using Layout = Layout::DataItem;
    switch (DataItemCode(r.get(Layout::Code))) {
    case DataItemCode::Count:
    case DataItemCode::SecondTableCount: r.set(Layout::Count, 0); return Success;
    case DataItemCode::Copy:
        if (!r.pointer(Layout::NameBuffer) || !r.pointer(Layout::DataBuffer))
            return NullRecord;
        return Rejected; // no item n
    default: return Rejected;
    }
}

int32_t drainRecordedEntries(PluginCore& p, const RecordView& r)
{
    using Layout = Layout::Drain;
    const CoreRecords::Drain d{r.pointer<uint32_t>(Layout::Status),         r.pointer<uint32_t>(Layout::Constant),
                               r.pointer<uint32_t>(Layout::Count),          r.pointer<uint64_t>(Layout::Entries),
                               r.pointer<uint64_t>(Layout::DroppedEntries), r.pointer<uint64_t>(Layout::RecordingStartTick)};
    if (!d.status || !d.constant || !d.count || !d.droppedEntries || !d.recordingStartTick)
        return NullRecord;
    return p.drainRecordedEntries(d);
}

int32_t instanceSelector(PluginCore& p, Selector selector, uint32_t lockIndex, void* record)
{
    const RecordView r(record);
    using Word = Layout::Word;
    switch (selector) {
    case Selector::DrainRecordedEntries: return drainRecordedEntries(p, r);
    case Selector::SetInstanceFlag: p.setInstanceFlag(true); return Success;
    case Selector::ClearInstanceFlag: p.setInstanceFlag(false); return Success;
    case Selector::Activate: return p.activate();
    case Selector::Deactivate: return p.deactivate();
    case Selector::DestroyInstance: delete &p; return Success;
    case Selector::CountAutomatableParameters: r.set(Word::Value, p.automatableParameterCount()); return Success;
    case Selector::DescribeAutomatableParameters:
        return p.describeAutomatableParameters(r.get(Layout::Describe::Count), r.pointer(Layout::Describe::Records));
    case Selector::GetParameterValue:
    case Selector::GetSecondValue: return readValue(p, selector, lockIndex, r);
    case Selector::SetParameterValue:
        return p.setParameterValue(r.get(Layout::ParameterValue::Index), r.get(Layout::ParameterValue::Value), lockIndex);
    case Selector::CountElementParameters: r.set(Word::Value, p.elementParameterCount()); return Success;
    case Selector::DescribeSecondValues:
        return p.describeSecondValues(r.get(Layout::Describe::Count), r.pointer(Layout::Describe::Records));
    case Selector::SetSecondValue:
        return p.setSecondValue(r.get(Layout::ParameterValue::Index), r.get(Layout::ParameterValue::Value), lockIndex);
    case Selector::EditorHitTest: return hitTest(p, r);
    case Selector::SetSampleRateAndConfiguration:
        return p.setSampleRateAndConfiguration(r.get(Layout::Configuration::SampleRate),
                                               r.get(Layout::Configuration::ChannelConfiguration));
    case Selector::ReadStatusWord: r.set(Word::Value, p.statusWord(lockIndex)); return Success;
    case Selector::Reset:
        p.reset();
        r.set(Word::Value, p.statusWord(lockIndex));
        return Success;
    case Selector::SwitchRunState:
        p.switchRunState(r.get(Layout::RunState::Running) != 0, r.get(Layout::RunState::Hold) != 0, lockIndex);
        return Success;
    case Selector::Settle: p.onSettle(); return Success;
    case Selector::ProcessBlock: p.processBlock(readProcessRecord(r)); return Success;
    case Selector::ProcessBypassed: return processBypassed(p, r);
    case Selector::ExchangeHostWord: {
        uint32_t word = r.get(Word::Value);
        p.exchangeHostWord(word);
        r.set(Word::Value, word);
        return Success;
    }
    case Selector::HandHostFloat: p.handHostFloat(r.get(Layout::HostFloat::Value)); return Success;
    case Selector::ProcessingStopped: p.notifyElementSet(); return Success;
    case Selector::ForwardRenderRequest: return forwardRenderRequest(p, r);
    case Selector::EditorOperation: return editorOperation(p, r);
    case Selector::EditorInputEvent: return editorInputEvent(p, r);
    case Selector::EditorInputEventWithPoint: return editorInputEventWithPoint(p, r);
    case Selector::StateChunkOperation: return stateChunkOperation(p, r);
    case Selector::AskElementSet:
        if (!p.askElementSet(r.get(Layout::Question::Subject), r.get(Layout::Question::Detail)))
            r.set(Layout::Question::Refused, 1);
        return Success;
    case Selector::DataItemQuery: return dataItemQuery(r);
    case Selector::ReadInstanceWord:
        r.set(Word::Value, 0); // cleared first: the instance may leave it
        r.set(Word::Value, p.instanceWord());
        return Success;
    case Selector::Unsupported35:
    case Selector::Unsupported36: return p.unsupported();
    case Selector::SettingsRequest: return p.settingsRequest(r.data());
    case Selector::StoreHostOptionWord: p.storeHostOptionWord(r.get(Word::Value)); return Success;
    case Selector::IdleService: p.runIdleService(); return Success;
    case Selector::PropertyMessage:
        return p.propertyMessage(r.get(Layout::PropertyMessage::Id), r.get(Layout::PropertyMessage::DataSize),
                                 r.get<uint64_t>(Layout::PropertyMessage::Data.offset), lockIndex);
    default: return UnknownSelector;
    }
}

bool lockIndexAccepted(Lock rule, uint32_t lockIndex)
{
    switch (rule) {
    case Lock::NoneIndexBelow2:
    case Lock::Either: return lockIndex <= UserInterfaceLockIndex;
    case Lock::AudioOnly: return lockIndex == ProcessingLockIndex;
    case Lock::UiOnly: return lockIndex == UserInterfaceLockIndex;
    default: return true;
    }
}

} // namespace

int32_t EntryDispatcher::dispatch(int32_t protocol, uint32_t selectorNumber, uint32_t lockIndex, void* instance,
                                  void* record)
{
    if (protocol != ProtocolNumber)
        return WrongProtocol;
    if (selectorNumber >= SelectorCount)
        return UnknownSelector;
    const Selector selector = Selector(selectorNumber);
    const SelectorRule& rule = ruleOf(selector);
    if (needsInstance(selector) && !instance)
        return NullInstance;
    if (rule.needsRecord && !record)
        return NullRecord;
    if (!lockIndexAccepted(rule.lock, lockIndex))
        return BadLockIndex;

    if (selector == Selector::GetPluginInformation)
        return describePlugin(record);
    if (selector == Selector::CreateInstance)
        return createInstance(record);

    auto& plugin = *static_cast<PluginCore*>(instance);
    if (rule.lock == Lock::None || rule.lock == Lock::NoneIndexBelow2)
        return instanceSelector(plugin, selector, lockIndex, record);
    Platform::ScopedLock hold(plugin.threadController().section(lockIndex));
    return instanceSelector(plugin, selector, lockIndex, record);
}
