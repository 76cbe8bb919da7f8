#include "HostSession.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

template <typename T>
void put(std::vector<uint8_t>& bytes, size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
}

template <typename T>
T get(const void* record, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof(T));
    return value;
}

void putText(std::vector<uint8_t>& bytes, size_t offset, size_t size, const std::string& text)
{
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(bytes.data() + offset, text.data(), n);
    bytes[offset + n] = 0;
}

} // namespace

uint32_t channelConfigurationFor(int channels)
{
    switch (channels) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 3;
    case 4: return 6;
    case 5: return 7;
    case 6: return 8;
    case 7: return 9;
    case 8: return 11;
    default: return channels >= 3 && channels <= 24 ? uint32_t(channels + 10) : 0;
    }
}

HostSession::HostSession(const PluginLibrary& library, Options options) : library_(library), options_(std::move(options))
{
    hostText_ = options_.hostName;
    if (!options_.hostVersion.empty())
        hostText_ += " " + options_.hostVersion;
}

HostSession::~HostSession()
{
    if (instance_)
        destroy();
}

int32_t HostSession::call(uint32_t selector, uint32_t lockIndex, void* record) const
{
    const int32_t status = library_.call(selector, lockIndex, instance_, record);
    if (options_.verbose)
        std::fprintf(stderr, "relay-host: selector %u (lock %u) -> %d\n", selector, lockIndex, status);
    return status;
}

std::vector<uint8_t> HostSession::hostContext() const
{
    std::vector<uint8_t> context(1028, 0);
    putText(context, 0, 128, options_.hostName);
    putText(context, 128, 128, options_.hostVersion);
    put<uint32_t>(context, 1024, options_.formatIdentifier);
    return context;
}

std::vector<uint8_t> HostSession::pluginInformation() const
{
    std::vector<uint8_t> request(1040, 0);
    const auto context = hostContext();
    std::memcpy(request.data(), context.data(), context.size());
    std::vector<uint8_t> reply(7764, 0);
    put<uint64_t>(request, 1032, reinterpret_cast<uintptr_t>(reply.data()));
    if (library_.call(0, 0, nullptr, request.data()) != 0)
        throw std::runtime_error("selector 0 failed");
    return reply;
}

void HostSession::create(float sampleRate, uint32_t channelConfiguration, bool recording)
{
    std::vector<uint8_t> record(3120, 0);
    void* created = nullptr;
    put<uint64_t>(record, 0, reinterpret_cast<uintptr_t>(&HostSession::reverseCall));
    put<uint64_t>(record, 8, reinterpret_cast<uintptr_t>(this));
    putText(record, 16, 2048, options_.instanceName);
    const auto context = hostContext();
    std::memcpy(record.data() + 2064, context.data(), context.size());
    put<uint64_t>(record, 3096, reinterpret_cast<uintptr_t>(&created));
    put<float>(record, 3104, sampleRate);
    put<uint32_t>(record, 3108, channelConfiguration);
    put<uint32_t>(record, 3112, 0);
    put<uint32_t>(record, 3116, recording ? 1 : 0);
    const int32_t status = library_.call(1, 0, nullptr, record.data());
    if (status != 0 || !created)
        throw std::runtime_error("selector 1 failed with " + std::to_string(status));
    instance_ = created;
}

void HostSession::activate() { call(5, 1, nullptr); }
void HostSession::deactivate() { call(6, 1, nullptr); }

void HostSession::destroy()
{
    call(7, 1, nullptr);
    instance_ = nullptr;
}

void HostSession::switchRunState(uint32_t a, uint32_t b, uint32_t lockIndex)
{
    uint32_t flags[2] = {a, b};
    call(20, lockIndex, flags);
}

void HostSession::idle() { call(39, 1, nullptr); }

void HostSession::notifyProcessingStopped() { call(26, 0, nullptr); }

int32_t HostSession::propertyMessage(uint32_t id, uint32_t size, uint64_t data, uint32_t lockIndex)
{
    std::vector<uint8_t> record(16, 0);
    put<uint32_t>(record, 0, id);
    put<uint32_t>(record, 4, size);
    put<uint64_t>(record, 8, data);
    return call(40, lockIndex, record.data());
}

void HostSession::render(SoundFile& sound, const RenderPass& pass)
{
    std::vector<uint8_t> transport(136, 0);
    std::vector<uint8_t> record(360, 0);
    std::vector<float*> channels(size_t(sound.channels));
    put<uint64_t>(record, 8, reinterpret_cast<uintptr_t>(channels.data()));
    put<uint64_t>(record, 16, reinterpret_cast<uintptr_t>(transport.data()));
    put<uint32_t>(record, 352, pass.flagA ? 1 : 0);
    put<uint32_t>(record, 356, pass.flagB ? 1 : 0);

    double position = pass.startPosition;
    const size_t total = sound.frames();
    uint32_t blocks = 0;
    for (size_t offset = 0; offset < total; offset += pass.blockSize) {
        const size_t n = std::min<size_t>(pass.blockSize, total - offset);
        for (int c = 0; c < sound.channels; ++c)
            channels[size_t(c)] = sound.samples[size_t(c)].data() + offset;
        put<uint64_t>(record, 0, n);
        put<double>(transport, 24, position);
        put<uint32_t>(transport, 32, pass.playing ? 1 : 0);
        if (call(22, 0, record.data()) != 0)
            throw std::runtime_error("selector 22 failed");
        if (pass.playing)
            position += double(n);
        if (pass.idleEveryBlocks && ++blocks % pass.idleEveryBlocks == 0)
            idle();
    }
}

int32_t HostSession::reverseCall(int32_t protocol, uint32_t selector, uint32_t index, void* handle, void* record)
{
    if (protocol != 1079 || !handle)
        return 1;
    return static_cast<HostSession*>(handle)->answer(selector, index, record);
}

int32_t HostSession::answer(uint32_t selector, uint32_t index, void* record)
{
    if (options_.verbose)
        std::fprintf(stderr, "relay-host: reverse call %u (index %u)\n", selector, index);
    switch (selector) {
    case 13: { // host name and version
        if (!record)
            return 5;
        auto* bytes = static_cast<uint8_t*>(record);
        const uint64_t length = hostText_.size();
        const uint64_t text = reinterpret_cast<uintptr_t>(hostText_.c_str());
        float version = options_.hostVersion.empty() ? 0.0f : std::strtof(options_.hostVersion.c_str(), nullptr);
        std::memcpy(bytes, &length, 8);
        std::memcpy(bytes + 8, &text, 8);
        std::memcpy(bytes + 16, &version, 4);
        return 0;
    }
    case 18: { // activation words
        if (!record)
            return 5;
        const uint32_t words[3] = {1, 0, 0};
        std::memcpy(record, words, sizeof words);
        return 0;
    }
    case 19:
    case 20:
        if (record) {
            const float seconds = 0.0f;
            std::memcpy(record, &seconds, 4);
        }
        return 0;
    case 2:
        if (options_.verbose && record)
            std::fprintf(stderr, "relay-host: status word %u is now %u\n", index, get<uint32_t>(record, 0));
        return 0;
    default:
        return 0;
    }
}
