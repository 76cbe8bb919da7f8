#include "core/EntryDispatcher.h"

#include "core/PluginCore.h"
#include "core/PluginCoreCallback.h"
#include "core/PluginFactory.h"
#include "core/PluginInformation.h"
#include "core/RecordView.h"

#include <algorithm>
#include <mutex>

using namespace EntryProtocol;

namespace {

// ---- Selectors that run without an instance ------------------------------------

int32_t describePlugin(void* record)
{
    const RecordView r(record);
    void* reply = r.pointer<void>(1032);
    if (!reply)
        return NullRecord;
    const auto context = HostContext::fromBytes(record);
    PluginInformation::fill(PluginFactory::instance().definition(context), context, reply);
    return Success;
}

int32_t createInstance(void* record)
{
    const RecordView r(record);
    auto** result = r.pointer<void*>(3096);
    CoreRecords::Creation creation;
    creation.callback = reinterpret_cast<PluginCoreCallbackFn>(r.pointer<void>(0));
    creation.wrapperHandle = r.pointer<void>(8);
    creation.name = r.text(16, 2048);
    creation.hostContext = HostContext::fromBytes(r.data() + 2064);
    creation.sampleRate = r.f32(3104);
    creation.channelConfiguration = r.u32(3108);
    creation.firstFlag = r.u32(3112) != 0;
    creation.recording = r.u32(3116) != 0;
    if (!result)
        return NullRecord;
    if (!creation.callback)
        return Rejected; // every reverse call goes through the callback
    *result = PluginFactory::instance().createPlugin(creation);
    return Success;
}

// ---- Selector groups ------------------------------------------------------------

int32_t parameterSelector(PluginCore& p, uint32_t selector, uint32_t lockIndex, void* record)
{
    const RecordView r(record);
    float value = 0.0f;
    int32_t status = Success;
    switch (selector) {
    case 8: r.setU32(0, p.automatableParameterCount()); return Success;
    case 9: return p.describeAutomatableParameters(r.u32(0), r.pointer<void>(8));
    case 10:
        status = p.parameterValue(r.u32(0), value, lockIndex);
        if (status == Success)
            r.setF32(4, value);
        return status;
    case 11: return p.setParameterValue(r.u32(0), r.f32(4), lockIndex);
    case 12: r.setU32(0, p.elementParameterCount()); return Success;
    case 13: return p.describeSecondValues(r.u32(0), r.pointer<void>(8));
    case 14:
        status = p.secondValue(r.u32(0), value, lockIndex);
        if (status == Success)
            r.setF32(4, value);
        return status;
    case 15: return p.setSecondValue(r.u32(0), r.f32(4), lockIndex);
    case 16: {
        uint32_t index = r.u32(8), found = r.u32(12);
        p.editorHitTest(r.u32(0), r.u32(4), index, found);
        r.setU32(8, index);
        r.setU32(12, found);
        return Success;
    }
    default: return Rejected;
    }
}

CoreRecords::Process readProcessRecord(const RecordView& r)
{
    CoreRecords::Process block;
    block.frameCount = r.u64(0);
    block.channels = r.pointer<float*>(8);
    block.transport = r.pointer<uint8_t>(16);
    block.sideBusCount = std::min(r.u32(24), CoreRecords::Process::MaxSideBuses);
    block.beforeBlockCount = r.u32(28);
    block.beforeBlockItems = r.data() + 32;
    for (uint32_t b = 0; b < CoreRecords::Process::MaxSideBuses; ++b) {
        block.sideBuses[b].channels = r.pointer<float*>(160 + 8 * b);
        block.sideBuses[b].channelCount = r.u32(288 + 4 * b);
    }
    block.flagA = r.u32(352) != 0;
    block.flagB = r.u32(356) != 0;
    return block;
}

int32_t editorSelector(PluginCore& p, void* record)
{
    const RecordView r(record);
    switch (r.u32(0)) {
    case 0: {
        const uint32_t words[3] = {r.u32(32), r.u32(36), r.u32(40)};
        return p.openEditor(r.u64(8), r.u32(16), r.u32(20), words, r.u32(72) != 0);
    }
    case 1: p.closeEditor(); return Success;
    case 2:
    case 3:
    case 4: p.editorNoOperation(r.u32(0)); return Success;
    case 5: r.setU32(60, p.idleEditor()); return Success;
    case 6: r.setU64(64, p.editorWindowHandle()); return Success;
    case 7:
        if (p.editorEvent(r.u32(44), r.u32(48), r.u32(52)))
            r.setU32(56, 1);
        return Success;
    case 8: p.editorNotification(r.u32(16), r.u32(20)); return Success;
    case 9: p.editorNotificationSecond(r.u32(24), r.u32(28)); return Success;
    case 10: {
        const auto& d = p.definition();
        r.setU32(24, std::clamp(r.u32(24), d.minimumEditorWidth().value, d.maximumEditorWidth().value));
        r.setU32(28, std::clamp(r.u32(28), d.minimumEditorHeight().value, d.maximumEditorHeight().value));
        return Success;
    }
    case 11:
        r.setU32(32, 0); // mode 0
        r.setU32(60, 1); // known
        return Success;
    default: return Rejected;
    }
}

int32_t inputEventSelector(PluginCore& p, uint32_t selector, void* record)
{
    const RecordView r(record);
    CoreRecords::EditorEvent event;
    for (int i = 0; i < 5; ++i)
        event.words[i] = r.u32(4 * size_t(i));
    int32_t status;
    if (selector == 29) {
        status = p.editorInputEvent(event);
        r.setU32(20, event.answer);
    } else {
        event.useCurrentPoint = r.u32(20) != 0;
        status = p.editorInputEventSecond(event);
        r.setU32(24, event.answer);
    }
    return status & 0xFF;
}

int32_t chunkSelector(PluginCore& p, void* record)
{
    const RecordView r(record);
    const uint32_t size = r.u32(8);
    switch (r.u32(0)) {
    case 0: {
        uint32_t built = 0;
        const int32_t status = p.buildStateChunk(built);
        r.setU32(8, built);
        return status;
    }
    case 1:
        if (!p.writeStateChunkSecondFlavour(size, r.pointer<void>(16)))
            r.setU8(4, 1);
        return Success;
    case 2:
        if (!p.writeStateChunk(size, r.pointer<void>(16)))
            r.setU8(4, 1);
        return Success;
    case 3:
        if (!p.restoreStateChunk(size, r.pointer<const void>(16), r.u32(28)))
            r.setU8(4, 1);
        return Success;
    case 4: {
        uint32_t answer = 0;
        if (!p.restoreStateChunkVariant(size, r.pointer<const void>(16), r.f32(24), answer))
            r.setU8(4, 1);
        r.setU32(32, answer);
        return Success;
    }
    default: return Rejected;
    }
}

// This product declares no data items in either table.
int32_t dataItemSelector(void* record)
{
    const RecordView r(record);
    switch (r.u32(0)) {
    case 0:
    case 4: r.setU32(8, 0); return Success;
    case 1:
    case 2:
    case 5: return Rejected; // no item n
    case 3:
        if (!r.pointer<void>(24) || !r.pointer<void>(32))
            return NullRecord;
        return Rejected;
    default: return Rejected;
    }
}

int32_t instanceSelector(PluginCore& p, uint32_t selector, uint32_t lockIndex, void* record)
{
    const RecordView r(record);
    switch (selector) {
    case 2: {
        CoreRecords::Drain d{r.pointer<uint32_t>(0), r.pointer<uint32_t>(8), r.pointer<uint32_t>(16),
                             r.pointer<uint64_t>(24), r.pointer<uint64_t>(32), r.pointer<uint64_t>(40)};
        if (!d.status || !d.constant || !d.count || !d.valueA || !d.valueB)
            return NullRecord;
        return p.drainRecordedEntries(d);
    }
    case 3: p.setInstanceFlag(true); return Success;
    case 4: p.setInstanceFlag(false); return Success;
    case 5: return p.activate();
    case 6: return p.deactivate();
    case 7: delete &p; return Success;
    case 8: case 9: case 10: case 11: case 12: case 13: case 14: case 15: case 16:
        return parameterSelector(p, selector, lockIndex, record);
    case 17: return p.setSampleRateAndConfiguration(r.f32(0), r.u32(4));
    case 18: r.setU32(0, p.statusWord(lockIndex)); return Success;
    case 19:
        p.reset();
        r.setU32(0, p.statusWord(lockIndex));
        return Success;
    case 20: p.switchRunState(r.u32(0) != 0, r.u32(4) != 0, lockIndex); return Success;
    case 21: p.onSettle(); return Success;
    case 22: p.processBlock(readProcessRecord(r)); return Success;
    case 23:
        if (r.u64(0) != 0)
            p.processBypassed(r.u64(0), r.u64(8), r.u64(16));
        return Success;
    case 24: {
        uint32_t word = r.u32(0);
        p.forwardWord(word);
        r.setU32(0, word);
        return Success;
    }
    case 25: p.forwardFloat(r.f32(0)); return Success;
    case 26: p.notifyElementSet(); return Success;
    case 27: p.forwardRenderRequest(r.data()); return Success;
    case 28: return editorSelector(p, record);
    case 29:
    case 30: return inputEventSelector(p, selector, record);
    case 31: return chunkSelector(p, record);
    case 32:
        if (!p.elementSetQuestion(r.u32(4), r.u32(8)))
            r.setU32(0, 1);
        return Success;
    case 33: return dataItemSelector(record);
    case 34:
        r.setU32(0, 0);
        r.setU32(0, p.answerWord());
        return Success;
    case 35: return p.unsupported();
    case 36: return p.unsupportedSecond();
    case 37: return p.settingsRequest(r.data());
    case 38: p.storeHostOptionWord(r.u32(0)); return Success;
    case 39: p.runIdleService(); return Success;
    case 40: return p.propertyMessage(r.u32(0), r.u32(4), r.u64(8), lockIndex);
    default: return UnknownSelector;
    }
}

} // namespace

EntryDispatcher::Lock EntryDispatcher::lockRule(uint32_t selector)
{
    switch (selector) {
    case 0: case 1: case 7: case 39: return Lock::None;
    case 37: case 38: return Lock::NoneIndexBelow2;
    case 21: case 22: case 23: return Lock::AudioOnly;
    case 28: case 29: case 30: case 31: case 32: return Lock::UiOnly;
    case 24: case 25: case 26: case 27: return Lock::Unchecked;
    default: return Lock::Either;
    }
}

bool EntryDispatcher::needsRecord(uint32_t selector)
{
    switch (selector) {
    case 3: case 4: case 5: case 6: case 7: case 21: case 26: case 35: case 36: case 39: return false;
    default: return true;
    }
}

int32_t EntryDispatcher::dispatch(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance, void* record)
{
    if (protocol != ProtocolNumber)
        return WrongProtocol;
    if (selector >= SelectorCount)
        return UnknownSelector;
    if (selector != 0 && selector != 1 && !instance)
        return NullInstance;
    if (needsRecord(selector) && !record)
        return NullRecord;

    const Lock rule = lockRule(selector);
    switch (rule) {
    case Lock::NoneIndexBelow2:
    case Lock::Either:
        if (lockIndex > 1)
            return BadLockIndex;
        break;
    case Lock::AudioOnly:
        if (lockIndex != 0)
            return BadLockIndex;
        break;
    case Lock::UiOnly:
        if (lockIndex != 1)
            return BadLockIndex;
        break;
    default:
        break;
    }

    if (selector == 0)
        return describePlugin(record);
    if (selector == 1)
        return createInstance(record);

    auto& plugin = *static_cast<PluginCore*>(instance);
    if (rule == Lock::None || rule == Lock::NoneIndexBelow2)
        return instanceSelector(plugin, selector, lockIndex, record);
    Platform::ScopedLock hold(plugin.threadController().section(lockIndex));
    return instanceSelector(plugin, selector, lockIndex, record);
}
