#include "lv2/RelayPlugin.h"

#include "lv2/CoreLibrary.h"
#include "lv2/FeatureList.h"

#include <cstring>
#include <lv2/buf-size/buf-size.h>
#include <string_view>

namespace Lv2 {

namespace {

using Wrapper::PluginInstance;

// The idle service runs about every 20 ms of audio: the window's pipe timer
// and the editor link's handlers keep their pace.
constexpr uint32_t IdleCallsPerSecond = 50;
// The worker's one message; its content is not read.
constexpr uint8_t IdleRequest = 1;

} // namespace

RelayPlugin::RelayPlugin(uint32_t channels, double sampleRate, const LV2_Feature* const* features)
    : channels_(channels),
      ports_{channels},
      sampleRate_(float(sampleRate)),
      map_(static_cast<const LV2_URID_Map*>(FeatureList(features).find(LV2_URID__map))),
      worker_(static_cast<const LV2_Worker_Schedule*>(FeatureList(features).find(LV2_WORKER__schedule))),
      options_(static_cast<const LV2_Options_Option*>(FeatureList(features).find(LV2_OPTIONS__options))),
      library_(CoreLibrary::besideThisModule()),
      session_(library_.entry(), host_, "TW Relay"),
      uris_(map_),
      transport_(uris_)
{
    readOptions(options_);
    idlePeriod_ = std::max(uint32_t(sampleRate_) / IdleCallsPerSecond, maxBlockLength_);
    readEditorSize();
    session_.create(sampleRate_, EntryProtocol::channelConfigurationFor(channels_));
}

void RelayPlugin::readOptions(const LV2_Options_Option* options)
{
    for (auto o = options; o && o->key; ++o) {
        if (o->key == uris_.maxBlockLength && o->type == uris_.atomInt && o->size == sizeof(int32_t))
            maxBlockLength_ = uint32_t(*static_cast<const int32_t*>(o->value));
        else if (o->key == uris_.sampleRate && o->type == uris_.atomFloat && o->size == sizeof(float))
            sampleRate_ = *static_cast<const float*>(o->value);
    }
}

void RelayPlugin::readEditorSize()
{
    using Info = EntryProtocol::Layout::Information;
    const auto information = session_.information();
    editorWidth_ = EntryProtocol::read(information.data(), Info::EditorWidth);
    editorHeight_ = EntryProtocol::read(information.data(), Info::EditorHeight);
}

void RelayPlugin::connectPort(uint32_t port, void* data)
{
    for (uint32_t c = 0; c < channels_; ++c) {
        if (port == ports_.input(c))
            inputs_[c] = static_cast<const float*>(data);
        else if (port == ports_.output(c))
            outputs_[c] = static_cast<float*>(data);
    }
    if (port == ports_.control())
        control_ = static_cast<const LV2_Atom_Sequence*>(data);
    else if (port == ports_.pass())
        pass_ = static_cast<const float*>(data);
    else if (port == ports_.latency())
        latency_ = static_cast<float*>(data);
    connected_ = portsConnected();
}

void RelayPlugin::activate()
{
    session_.activate(PluginInstance::UiThread);
    host_.setLatency(session_.statusWord(0));
    transport_.reset();
    sending_ = false;
    framesSinceIdle_ = 0;
}

bool RelayPlugin::portsConnected() const
{
    for (uint32_t c = 0; c < channels_; ++c)
        if (!inputs_[c] || !outputs_[c])
            return false;
    return true;
}

// A send pass begins with the timeline's offset (an LV2 host's timeline starts
// at frame 0, so a clip's time reference is its transport frame); leaving the
// send position ends the pass, as a host that stops processing does.
void RelayPlugin::changePass(bool send)
{
    if (send) {
        const int64_t timelineOffset = 0;
        session_.propertyMessage(EntryProtocol::PropertyId::TimelineOffset, &timelineOffset, sizeof timelineOffset,
                                 PluginInstance::AudioThread);
    } else {
        session_.processingStopped(PluginInstance::AudioThread);
    }
    sending_ = send;
}

// The latency port is written once, after the block: a latency the core
// reports during the block (status word 0) reaches the host with this block.
void RelayPlugin::run(uint32_t frames)
{
    if (frames != 0 && connected_)
        processBlock(frames);
    if (latency_)
        *latency_ = float(host_.latency());
}

void RelayPlugin::processBlock(uint32_t frames)
{
    if (transport_.read(control_))
        session_.switchRunState(transport_.rolling(), false, PluginInstance::AudioThread);
    const bool send = pass_ && *pass_ >= SendPass * 0.5f;
    if (send != sending_)
        changePass(send);

    std::array<float*, MaxChannels> channels{};
    for (uint32_t c = 0; c < channels_; ++c) {
        if (outputs_[c] != inputs_[c])
            std::memcpy(outputs_[c], inputs_[c], frames * sizeof(float));
        channels[c] = outputs_[c];
    }
    // A host runs its plug-ins while its transport stands still too: those
    // blocks pass, and only what the transport plays is sent or played back.
    if (transport_.rolling())
        session_.process(frames, channels.data(), {transport_.position(), true}, sending_);
    transport_.advance(frames);
    if (worker_)
        scheduleIdle(frames);
}

// One request at a time: the next is asked for only after the worker ran the last.
void RelayPlugin::scheduleIdle(uint32_t frames)
{
    framesSinceIdle_ += frames;
    if (framesSinceIdle_ < idlePeriod_ || idlePending_.exchange(true))
        return;
    framesSinceIdle_ = 0;
    if (worker_->schedule_work(worker_->handle, sizeof IdleRequest, &IdleRequest) != LV2_WORKER_SUCCESS)
        idlePending_ = false;
}

void RelayPlugin::deactivate()
{
    if (sending_)
        session_.processingStopped(PluginInstance::AudioThread);
    sending_ = false;
    session_.switchRunState(false, false, PluginInstance::AudioThread);
    session_.deactivate(PluginInstance::UiThread);
}

LV2_Worker_Status RelayPlugin::work()
{
    session_.idle();
    idlePending_ = false;
    return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status RelayPlugin::workResponse() { return LV2_WORKER_SUCCESS; }

uint32_t RelayPlugin::setOptions(const LV2_Options_Option* options)
{
    const float before = sampleRate_;
    readOptions(options);
    if (sampleRate_ != before)
        session_.setFormat(sampleRate_, EntryProtocol::channelConfigurationFor(channels_));
    return LV2_OPTIONS_SUCCESS;
}

LV2_State_Status RelayPlugin::save(LV2_State_Store_Function store, LV2_State_Handle handle)
{
    if (!uris_.stateChunk)
        return LV2_STATE_ERR_NO_FEATURE;
    std::vector<uint8_t> chunk;
    if (!session_.saveState(chunk))
        return LV2_STATE_ERR_UNKNOWN;
    return store(handle, uris_.stateChunk, chunk.data(), chunk.size(), uris_.atomChunk,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status RelayPlugin::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle)
{
    if (!uris_.stateChunk)
        return LV2_STATE_ERR_NO_FEATURE;
    size_t size = 0;
    uint32_t type = 0, flags = 0;
    const void* chunk = retrieve(handle, uris_.stateChunk, &size, &type, &flags);
    if (!chunk)
        return LV2_STATE_ERR_NO_PROPERTY;
    if (type != uris_.atomChunk)
        return LV2_STATE_ERR_BAD_TYPE;
    return session_.restoreState(static_cast<const uint8_t*>(chunk), size) ? LV2_STATE_SUCCESS
                                                                             : LV2_STATE_ERR_UNKNOWN;
}

int32_t RelayPlugin::openEditor(uint64_t parentWindow)
{
    return session_.openEditor(parentWindow, editorWidth_, editorHeight_);
}

uint64_t RelayPlugin::editorWindow() { return session_.editorWindowHandle(); }

void RelayPlugin::idleEditor() { session_.idleEditor(); }

void RelayPlugin::closeEditor() { session_.closeEditor(); }

} // namespace Lv2
