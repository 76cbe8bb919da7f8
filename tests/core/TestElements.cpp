#include <gtest/gtest.h>

#include "TestElements.h"

#include "core/EntryDispatcher.h"
#include "core/PluginCoreCallback.h"
#include "core/RecordView.h"

TestElementSet::TestElementSet(Plugin& plugin, std::vector<ParamRegistration> registrations)
    : inner_(plugin, plugin.sampleRate(), plugin.channelConfiguration()), registrations_(std::move(registrations))
{
    inner_.GetSet().AddElement(std::make_shared<MixElement>(plugin));
}

namespace Entry {

int32_t call(PluginCore& plugin, uint32_t selector, uint32_t lockIndex, void* record)
{
    return EntryDispatcher::dispatch(EntryProtocol::ProtocolNumber, selector, lockIndex, &plugin, record);
}

namespace {
std::vector<uint8_t> save(PluginCore& plugin, uint32_t code)
{
    uint8_t record[40] = {};
    const RecordView r(record);
    if (call(plugin, 31, 1, record) != 0)
        return {};
    std::vector<uint8_t> chunk(r.u32(8));
    r.setU32(0, code);
    r.setU64(16, reinterpret_cast<uintptr_t>(chunk.data()));
    if (call(plugin, 31, 1, record) != 0 || record[4] != 0)
        return {};
    return chunk;
}
} // namespace

std::vector<uint8_t> saveState(PluginCore& plugin) { return save(plugin, 2); }

std::vector<uint8_t> saveSecondFlavour(PluginCore& plugin) { return save(plugin, 1); }

bool restoreState(PluginCore& plugin, const std::vector<uint8_t>& chunk)
{
    uint8_t record[40] = {};
    const RecordView r(record);
    r.setU32(0, 3);
    r.setU32(8, uint32_t(chunk.size()));
    r.setU64(16, reinterpret_cast<uintptr_t>(chunk.data()));
    return call(plugin, 31, 1, record) == 0 && record[4] == 0;
}

float secondValue(PluginCore& plugin, uint32_t index, uint32_t lockIndex)
{
    uint8_t record[8] = {};
    const RecordView r(record);
    r.setU32(0, index);
    r.setF32(4, -999.0f);
    EXPECT_EQ(call(plugin, 14, lockIndex, record), 0) << "index " << index;
    return r.f32(4);
}

int32_t setSecondValue(PluginCore& plugin, uint32_t index, float value)
{
    uint8_t record[8] = {};
    const RecordView r(record);
    r.setU32(0, index);
    r.setF32(4, value);
    return call(plugin, 15, 1, record);
}

} // namespace Entry
