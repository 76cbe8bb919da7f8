#include "wrapper/PluginInstance.h"

#include <cstring>
#include <stdexcept>

namespace Wrapper {

using namespace EntryProtocol;

PluginInstance::PluginInstance(Callback entry, HostCallbacks& host, std::string name)
    : entry_(entry), host_(host), name_(std::move(name))
{
}

PluginInstance::~PluginInstance() { destroy(); }

int32_t PluginInstance::call(Selector selector, uint32_t lockIndex, void* record) const
{
    return callFor(instance_, selector, lockIndex, record);
}

int32_t PluginInstance::callFor(void* instance, Selector selector, uint32_t lockIndex, void* record) const
{
    const int32_t status = entry_(ProtocolNumber, uint32_t(selector), lockIndex, instance, record);
    if (observer_)
        observer_(uint32_t(selector), lockIndex, status);
    return status;
}

std::vector<uint8_t> PluginInstance::information() const
{
    using Request = Layout::InformationRequest;
    std::vector<uint8_t> request(Request::Size, 0);
    const auto context = host_.host().contextBlock();
    std::memcpy(request.data() + Request::HostContextBlock, context.data(), context.size());
    std::vector<uint8_t> reply(Layout::Information::Size, 0);
    writeAddress(request.data(), Request::Reply, reply.data());
    // Selector 0 is about the library, never an instance, even when one exists.
    const int32_t status = callFor(nullptr, Selector::GetPluginInformation, 0, request.data());
    if (status != Success)
        throw std::runtime_error("selector 0 failed with " + std::to_string(status));
    return reply;
}

void PluginInstance::create(float sampleRate, uint32_t channelConfiguration, bool recording)
{
    using Record = Layout::Creation;
    std::vector<uint8_t> record(Record::Size, 0);
    void* created = nullptr;
    writeAddress(record.data(), Record::Callback, reinterpret_cast<const void*>(&HostCallbacks::reverseCall));
    writeAddress(record.data(), Record::WrapperHandle, &host_);
    writeText(record.data(), Record::Name, name_);
    const auto context = host_.host().contextBlock();
    std::memcpy(record.data() + Record::HostContextBlock, context.data(), context.size());
    writeAddress(record.data(), Record::Result, &created);
    write(record.data(), Record::SampleRate, sampleRate);
    write(record.data(), Record::ChannelConfiguration, channelConfiguration);
    write(record.data(), Record::Recording, uint32_t(recording ? 1 : 0));
    const int32_t status = call(Selector::CreateInstance, AudioThread, record.data());
    if (status != Success || !created)
        throw std::runtime_error("selector 1 failed with " + std::to_string(status));
    instance_ = created;
}

void PluginInstance::destroy()
{
    if (!instance_)
        return;
    call(Selector::DestroyInstance, UiThread, nullptr);
    instance_ = nullptr;
}

int32_t PluginInstance::activate(uint32_t lockIndex) { return call(Selector::Activate, lockIndex, nullptr); }

int32_t PluginInstance::deactivate(uint32_t lockIndex) { return call(Selector::Deactivate, lockIndex, nullptr); }

int32_t PluginInstance::switchRunState(bool running, bool hold, uint32_t lockIndex)
{
    std::array<uint8_t, Layout::RunState::Size> record{};
    write(record.data(), Layout::RunState::Running, uint32_t(running ? 1 : 0));
    write(record.data(), Layout::RunState::Hold, uint32_t(hold ? 1 : 0));
    return call(Selector::SwitchRunState, lockIndex, record.data());
}

int32_t PluginInstance::processingStopped(uint32_t lockIndex)
{
    return call(Selector::ProcessingStopped, lockIndex, nullptr);
}

int32_t PluginInstance::idle() { return call(Selector::IdleService, UiThread, nullptr); }

int32_t PluginInstance::setFormat(float sampleRate, uint32_t channelConfiguration, uint32_t lockIndex)
{
    std::array<uint8_t, Layout::Configuration::Size> record{};
    write(record.data(), Layout::Configuration::SampleRate, sampleRate);
    write(record.data(), Layout::Configuration::ChannelConfiguration, channelConfiguration);
    return call(Selector::SetSampleRateAndConfiguration, lockIndex, record.data());
}

// The lock index picks the word; word 1 is read from the user-interface side.
uint32_t PluginInstance::statusWord(uint32_t word)
{
    std::array<uint8_t, Layout::Word::Size> record{};
    if (call(Selector::ReadStatusWord, word == 1 ? UiThread : AudioThread, record.data()) != Success)
        return 0;
    return read(record.data(), Layout::Word::Value);
}

int32_t PluginInstance::propertyMessage(uint32_t id, const void* data, uint32_t size, uint32_t lockIndex)
{
    using Record = Layout::PropertyMessage;
    std::array<uint8_t, Record::Size> record{};
    write(record.data(), Record::Id, id);
    write(record.data(), Record::DataSize, size);
    writeAddress(record.data(), Record::Data, data);
    return call(Selector::PropertyMessage, lockIndex, record.data());
}

int32_t PluginInstance::process(uint64_t frames, float* const* channels, const Transport& transport, bool analysisPass,
                                bool hostFlag)
{
    using Record = Layout::Process;
    write(transportRecord_.data(), Layout::Transport::SamplePosition, transport.samplePosition);
    write(transportRecord_.data(), Layout::Transport::Playing, uint32_t(transport.playing ? 1 : 0));
    write(processRecord_.data(), Record::FrameCount, frames);
    writeAddress(processRecord_.data(), Record::Channels, channels);
    writeAddress(processRecord_.data(), Record::Transport, transportRecord_.data());
    write(processRecord_.data(), Record::AnalysisPass, uint32_t(analysisPass ? 1 : 0));
    write(processRecord_.data(), Record::HostFlag, uint32_t(hostFlag ? 1 : 0));
    return call(Selector::ProcessBlock, AudioThread, processRecord_.data());
}

bool PluginInstance::saveState(std::vector<uint8_t>& chunk)
{
    using Record = Layout::StateChunk;
    std::array<uint8_t, Record::Size> record{};
    write(record.data(), Record::Code, uint32_t(ChunkCode::BuildAndMeasure));
    if (call(Selector::StateChunkOperation, UiThread, record.data()) != Success)
        return false;
    chunk.resize(read(record.data(), Record::ChunkSize));
    write(record.data(), Record::Code, uint32_t(ChunkCode::WriteFirstFlavour));
    writeAddress(record.data(), Record::Buffer, chunk.data());
    return call(Selector::StateChunkOperation, UiThread, record.data()) == Success &&
           read(record.data(), Record::Failed) == 0;
}

bool PluginInstance::restoreState(const uint8_t* chunk, size_t size)
{
    using Record = Layout::StateChunk;
    std::array<uint8_t, Record::Size> record{};
    write(record.data(), Record::Code, uint32_t(ChunkCode::Restore));
    write(record.data(), Record::ChunkSize, uint32_t(size));
    writeAddress(record.data(), Record::Buffer, chunk);
    return call(Selector::StateChunkOperation, UiThread, record.data()) == Success &&
           read(record.data(), Record::Failed) == 0;
}

int32_t PluginInstance::editorOperation(EditorCode code, std::array<uint8_t, Layout::Editor::Size>& record)
{
    write(record.data(), Layout::Editor::Code, uint32_t(code));
    return call(Selector::EditorOperation, UiThread, record.data());
}

int32_t PluginInstance::openEditor(uint64_t parentWindow, uint32_t width, uint32_t height)
{
    std::array<uint8_t, Layout::Editor::Size> record{};
    write(record.data(), Layout::Editor::ParentWindow, parentWindow);
    write(record.data(), Layout::Editor::Width, width);
    write(record.data(), Layout::Editor::Height, height);
    return editorOperation(EditorCode::Open, record);
}

uint32_t PluginInstance::idleEditor()
{
    std::array<uint8_t, Layout::Editor::Size> record{};
    editorOperation(EditorCode::Idle, record);
    return read(record.data(), Layout::Editor::IdleAnswer);
}

uint64_t PluginInstance::editorWindowHandle()
{
    std::array<uint8_t, Layout::Editor::Size> record{};
    editorOperation(EditorCode::WindowHandle, record);
    return read(record.data(), Layout::Editor::WindowHandle);
}

int32_t PluginInstance::closeEditor()
{
    std::array<uint8_t, Layout::Editor::Size> record{};
    return editorOperation(EditorCode::Close, record);
}

} // namespace Wrapper

namespace Wrapper {

uint32_t PluginInstance::inputEvent(uint32_t kind, uint32_t x, uint32_t y)
{
    using Record = Layout::InputEvent;
    std::array<uint8_t, Record::Size> record{};
    write(record.data(), Record::word(0), kind);
    write(record.data(), Record::word(1), x);
    write(record.data(), Record::word(2), y);
    call(Selector::EditorInputEvent, UiThread, record.data());
    return read(record.data(), Record::Answer);
}

std::optional<uint32_t> PluginInstance::secondValueIndex(const std::string& name)
{
    std::array<uint8_t, Layout::Word::Size> count{};
    if (call(Selector::CountElementParameters, UiThread, count.data()) != Success)
        return std::nullopt;
    const uint32_t n = read(count.data(), Layout::Word::Value);
    std::vector<uint8_t> records(size_t(n) * Layout::ParameterInformation::Size);
    std::array<uint8_t, Layout::Describe::Size> request{};
    write(request.data(), Layout::Describe::Count, n);
    writeAddress(request.data(), Layout::Describe::Records, records.data());
    if (call(Selector::DescribeSecondValues, UiThread, request.data()) != Success)
        return std::nullopt;
    for (uint32_t i = 0; i < n; ++i)
        if (readText(records.data() + size_t(i) * Layout::ParameterInformation::Size,
                     Layout::ParameterInformation::DisplayName) == name)
            return i;
    return std::nullopt;
}

float PluginInstance::secondValue(uint32_t index)
{
    std::array<uint8_t, Layout::ParameterValue::Size> record{};
    write(record.data(), Layout::ParameterValue::Index, index);
    call(Selector::GetSecondValue, UiThread, record.data());
    return read(record.data(), Layout::ParameterValue::Value);
}

} // namespace Wrapper
