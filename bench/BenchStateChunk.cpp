// StateChunk: the instance's state as the host saves and restores it, through
// the entry protocol: selector 31 code 0 (build, answer the size) and code 2
// (write) on one instance, code 3 (restore) on a second. Beside it JsonCpp
// writing and parsing the same state text and zlib compressing and
// uncompressing it (default level), the bare work any such chunk needs.
#include <benchmark/benchmark.h>

#include "core/EntryDispatcher.h"
#include "core/Plugin.h"
#include "product/PluginContext.h"
#include "core/RecordView.h"

#include <json/json.h>
#include <zlib.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

int32_t quietWrapper(int32_t, uint32_t, uint32_t, void*, void*) { return 1; }

int32_t call(PluginCore* core, uint32_t selector, uint32_t lockIndex, void* record)
{
    return EntryDispatcher::dispatch(1079, selector, lockIndex, core, record);
}

struct Instance {
    PluginCore* core = nullptr;

    Instance()
    {
        std::vector<uint8_t> record(3120, 0);
        const RecordView r(record.data());
        r.setU64(0, reinterpret_cast<uintptr_t>(&quietWrapper));
        r.setText(16, 2048, "Bench");
        r.setU64(3096, reinterpret_cast<uintptr_t>(&core));
        r.setF32(3104, 48000.0f);
        r.setU32(3108, 1);
        if (call(nullptr, 1, 0, record.data()) != 0 || !core)
            throw std::runtime_error("no instance");
    }
    ~Instance() { call(core, 7, 0, nullptr); }

    // Every element parameter set to `value`, as the host sets them.
    void setEveryValue(float value)
    {
        uint32_t count = 0;
        call(core, 12, 1, &count);
        for (uint32_t index = 0; index < count; ++index) {
            uint8_t record[8] = {};
            RecordView(record).setU32(0, index);
            RecordView(record).setF32(4, value);
            call(core, 15, 1, record);
        }
    }
    // A change of the state that sets off nothing else: a property of the context.
    void edit(uint64_t count)
    {
        auto& context = dynamic_cast<Context::PluginContext&>(static_cast<Plugin*>(core)->context());
        context.setProperty("Edit", Util::TypedValue::fromUInt(count));
    }
    // Codes 0 and 2 of selector 31.
    void save(std::vector<uint8_t>& chunk)
    {
        uint8_t record[40] = {};
        const RecordView r(record);
        call(core, 31, 1, record);
        chunk.resize(r.u32(8));
        r.setU32(0, 2);
        r.setU64(16, reinterpret_cast<uintptr_t>(chunk.data()));
        call(core, 31, 1, record);
        if (record[4] != 0)
            throw std::runtime_error("write failed");
    }
    // Code 3.
    void restore(const std::vector<uint8_t>& chunk)
    {
        uint8_t record[40] = {};
        const RecordView r(record);
        r.setU32(0, 3);
        r.setU32(8, uint32_t(chunk.size()));
        r.setU64(16, reinterpret_cast<uintptr_t>(chunk.data()));
        call(core, 31, 1, record);
        if (record[4] != 0)
            throw std::runtime_error("restore failed");
    }
};

// The state text of an instance set up as the one StateChunk/ours saves.
std::string stateText()
{
    Instance instance;
    instance.setEveryValue(3.0f);
    instance.edit(1);
    std::vector<uint8_t> chunk;
    instance.save(chunk);
    uint32_t length = 0;
    std::memcpy(&length, chunk.data(), 4);
    std::string text(length, '\0');
    uLongf produced = length;
    uncompress(reinterpret_cast<Bytef*>(text.data()), &produced, chunk.data() + 4, uLong(chunk.size() - 4));
    return text;
}

void StateChunk_ours(benchmark::State& state)
{
    Instance saved, restored;
    saved.setEveryValue(3.0f);
    std::vector<uint8_t> chunk;
    uint64_t edits = 0;
    for (auto _ : state) {
        // A state saved again unchanged is not built again: change it each time.
        saved.edit(++edits % 10);
        saved.save(chunk);
        restored.restore(chunk);
        benchmark::DoNotOptimize(chunk.data());
    }
    uint32_t textBytes = 0;
    std::memcpy(&textBytes, chunk.data(), 4);
    state.counters["text_bytes"] = double(textBytes);
}

void StateChunk_jsoncpp_zlib(benchmark::State& state)
{
    const std::string original = stateText();
    Json::Value root;
    Json::CharReaderBuilder readers;
    const std::unique_ptr<Json::CharReader> reader(readers.newCharReader());
    reader->parse(original.data(), original.data() + original.size(), &root, nullptr);
    const Json::StreamWriterBuilder writer;
    std::vector<uint8_t> compressed;
    std::string inflated;
    for (auto _ : state) {
        const std::string text = Json::writeString(writer, root);
        uLongf size = compressBound(uLong(text.size()));
        compressed.resize(size);
        compress2(compressed.data(), &size, reinterpret_cast<const Bytef*>(text.data()), uLong(text.size()),
                  Z_DEFAULT_COMPRESSION);
        inflated.assign(text.size(), '\0');
        uLongf produced = uLongf(inflated.size());
        uncompress(reinterpret_cast<Bytef*>(inflated.data()), &produced, compressed.data(), size);
        Json::Value parsed;
        reader->parse(inflated.data(), inflated.data() + produced, &parsed, nullptr);
        benchmark::DoNotOptimize(parsed);
    }
    state.counters["text_bytes"] = double(original.size());
}

} // namespace

BENCHMARK(StateChunk_ours)->Name("StateChunk/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(StateChunk_jsoncpp_zlib)->Name("StateChunk/jsoncpp_zlib")->Unit(benchmark::kMicrosecond);
