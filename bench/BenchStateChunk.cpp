// StateChunk: the instance's state as the host saves and restores it, through
// the entry protocol: selector 31 code 0 (build, answer the size) and code 2
// (write) on one instance, code 3 (restore) on a second. Beside it JsonCpp
// writing and parsing the same state text and zlib compressing and
// uncompressing it (default level), the bare work any such chunk needs.
#include <benchmark/benchmark.h>

#include "core/EntryDispatcher.h"
#include "core/Plugin.h"
#include "product/PluginContext.h"
#include "wrapper/PluginInstance.h"

#include <json/json.h>
#include <zlib.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace {

namespace Layout = EntryProtocol::Layout;

// A wrapper that answers no reverse call.
struct QuietHost final : Wrapper::HostCallbacks {
    QuietHost() : HostCallbacks({}) {}
    int32_t answer(EntryProtocol::ReverseSelector, uint32_t, void*) override { return EntryProtocol::WrongProtocol; }
};

// An instance of this process's core, entered through the dispatcher as the
// library's entry enters it.
struct Instance {
    QuietHost host;
    Wrapper::PluginInstance plugin{&EntryDispatcher::dispatch, host, "Bench"};

    Instance() { plugin.create(48000.0f, EntryProtocol::channelConfigurationFor(2)); }

    // Every element parameter set to `value`, as the host sets them.
    void setEveryValue(float value)
    {
        uint8_t countRecord[Layout::Word::Size] = {};
        plugin.call(EntryProtocol::Selector::CountElementParameters, 1, countRecord);
        const uint32_t count = EntryProtocol::read(countRecord, Layout::Word::Value);
        for (uint32_t index = 0; index < count; ++index) {
            uint8_t record[Layout::ParameterValue::Size] = {};
            EntryProtocol::write(record, Layout::ParameterValue::Index, index);
            EntryProtocol::write(record, Layout::ParameterValue::Value, value);
            plugin.call(EntryProtocol::Selector::SetSecondValue, 1, record);
        }
    }
    // A change of the state that sets off nothing else: a property of the context.
    void edit(uint64_t count)
    {
        auto* core = static_cast<PluginCore*>(plugin.handle());
        auto& context = dynamic_cast<Context::PluginContext&>(static_cast<Plugin*>(core)->context());
        context.setProperty("Edit", Util::TypedValue::fromUInt(count));
    }
    void save(std::vector<uint8_t>& chunk)
    {
        if (!plugin.saveState(chunk))
            throw std::runtime_error("write failed");
    }
    void restore(const std::vector<uint8_t>& chunk)
    {
        if (!plugin.restoreState(chunk.data(), chunk.size()))
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
