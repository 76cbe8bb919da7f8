#include "rewire/ReWireDevice.h"

#include "platform/Clock.h"
#include "rewire/ResultCode.h"

#include <cstring>
#include <utility>

namespace ReWire {

namespace {

// Words of the mixer's records, in bytes from the record's start.
constexpr size_t OpenSampleRate = 8;
constexpr size_t OpenAudioValue = 12;
constexpr size_t AudioInfoSampleRate = 4;
constexpr size_t InputEventCount = 16;
constexpr size_t InputEvents = 24; // a pointer to the events
constexpr size_t InputEventSize = 24;
constexpr size_t InputSongPosition = 2112; // signed, in 1/15360 beats
constexpr size_t InputTempo = 2124;
constexpr std::array<size_t, 4> InputWords{2128, 2132, 2136, 2140};
constexpr size_t InputFlag = 2144;
constexpr float SongPositionPerBeat = 15360.0f;
constexpr float TempoPerBeatPerSecond = 60000.0f; // thousandths of a beat per minute

template <typename T>
T wordAt(const uint8_t* record, size_t offset)
{
    T value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

} // namespace

ReWireDevice::ReWireDevice(EngineLibrary& engine, Util::String signature)
    : engine_(engine), signature_(std::move(signature)), lastActivityTick_(Platform::tickCount()),
      message_(EngineLibrary::PortBufferSize)
{
}

ReWireDevice::~ReWireDevice() = default;

int32_t ReWireDevice::open(const uint8_t* openRecord)
{
    if (openRecord) {
        transport_.sampleRate = wordAt<uint32_t>(openRecord, OpenSampleRate);
        transport_.audioValue = wordAt<uint32_t>(openRecord, OpenAudioValue);
    }
    const int32_t loaded = engine_.load();
    if (loaded != ResultCode::Success)
        return loaded;
    const int32_t created = engine_.createChannel(signature_);
    if (created != ResultCode::Success)
        engine_.unload();
    return created;
}

bool ReWireDevice::isCloseOK() { return engine_.checkConnection() != Engine::PanelConnected; }

void ReWireDevice::close() { engine_.unload(); }

void ReWireDevice::driveAudio(const uint8_t* input, uint8_t* /*output: nothing to report back*/)
{
    lastActivityTick_.store(Platform::tickCount(), std::memory_order_release);
    takeTransport(input);
    serviceChannel();
    const uint32_t state = connection_.load(std::memory_order_acquire);
    if (state == Connected || state == SecondConnected) {
        Platform::TryLock held(lock_, std::try_to_lock);
        if (held)
            serviceChannelLocked();
    }
    deliverEvents(input);
}

void ReWireDevice::takeTransport(const uint8_t* input)
{
    for (size_t i = 0; i < InputWords.size(); ++i)
        transport_.words[i] = wordAt<uint32_t>(input, InputWords[i]);
    transport_.flag = wordAt<uint32_t>(input, InputFlag) != 0;
    const uint32_t tempo = wordAt<uint32_t>(input, InputTempo);
    transport_.tempo = tempo;
    // Without a tempo or a sample rate there is no position in samples.
    if (tempo == 0 || !transport_.sampleRate)
        return;
    const float beats = float(wordAt<int32_t>(input, InputSongPosition)) / SongPositionPerBeat;
    const float beatsPerSecond = float(tempo) / TempoPerBeatPerSecond;
    transport_.samplePosition = beats / beatsPerSecond * float(*transport_.sampleRate);
}

void ReWireDevice::deliverEvents(const uint8_t* input)
{
    if (listeners_.empty())
        return;
    const uint32_t count = wordAt<uint32_t>(input, InputEventCount);
    const auto* events = wordAt<const uint8_t*>(input, InputEvents);
    for (uint32_t i = 0; events && i < count; ++i)
        for (const Listener& listener : listeners_)
            listener(events + size_t(i) * InputEventSize);
}

void ReWireDevice::idle()
{
    if (!engine_.hasChannel()) {
        connection_.store(NoPanel, std::memory_order_release);
        return;
    }
    const int32_t check = engine_.checkConnection();
    const uint32_t state = connection_.load(std::memory_order_acquire);
    if (check == Engine::PanelConnected && state == NoPanel)
        connection_.store(Connected, std::memory_order_release);
    else if (check == Engine::PanelNotConnected && state != NoPanel)
        connection_.store(NoPanel, std::memory_order_release);

    const uint32_t quiet = Platform::tickCount() - lastActivityTick_.load(std::memory_order_acquire);
    if (quiet <= IdleServiceAfterMs)
        return;
    Platform::TryLock held(lock_, std::try_to_lock);
    if (!held)
        return;
    serviceChannel();
    serviceChannelLocked();
}

// The device speaks no panel protocol: the channel is kept drained. Noting
// what waits needs no lock; taking it off the channel happens under the lock.
void ReWireDevice::serviceChannel()
{
    for (int32_t port = 0; port < EngineLibrary::PortCount; ++port)
        waiting_[size_t(port)] = engine_.bytesAvailable(port);
}

void ReWireDevice::serviceChannelLocked()
{
    for (int32_t port = 0; port < EngineLibrary::PortCount; ++port) {
        if (waiting_[size_t(port)] <= 0)
            continue;
        engine_.read(port, message_.data(), int32_t(message_.size()));
        waiting_[size_t(port)] = 0;
    }
}

void ReWireDevice::setAudioInfo(const uint8_t* info) { transport_.sampleRate = wordAt<uint32_t>(info, AudioInfoSampleRate); }

bool ReWireDevice::isPanelLaunched()
{
    return engine_.hasChannel() && engine_.checkConnection() == Engine::PanelConnected;
}

int32_t ReWireDevice::launchPanel() { return ResultCode::Success; }

void ReWireDevice::quitPanel() {}

void ReWireDevice::getEventInfo(void*) {}

void ReWireDevice::getEventBusInfo(uint16_t, void*) {}

void ReWireDevice::getEventChannelInfo(const void*, void*) {}

void ReWireDevice::getEventControllerInfo(uint16_t, uint16_t, void*) {}

void ReWireDevice::getEventNoteInfo(uint16_t, uint16_t, void*) {}

void ReWireDevice::addListener(Listener listener) { listeners_.push_back(std::move(listener)); }

} // namespace ReWire
