#include "shuttle/Transform.h"

#include "core/EntryProtocol.h"
#include "core/HostIdentification.h"
#include "core/HostVersion.h"
#include "core/Plugin.h"
#include "dsp/ShuttleElement.h"
#include "ipc/Context.h"
#include "platform/Clock.h"
#include "shuttle/DoActionOnMainWindowCommand.h"
#include "shuttle/EditorLauncher.h"
#include "shuttle/HostSets.h"
#include "shuttle/ReferenceClipCommand.h"

#include <cmath>
#include <cstring>

namespace DSP {

namespace {
constexpr uint32_t TimelineOffsetMessage = EntryProtocol::PropertyId::TimelineOffset;
constexpr uint32_t FormatDpmAudioSuite = EntryProtocol::Format::DpmAudioSuite;
constexpr uint32_t FormatAaxAudioSuite = EntryProtocol::Format::AaxAudioSuite;
} // namespace

Transform::Transform(Plugin& plugin, IPC::SocketPair::Endpoints endpoints)
    : TransformBase(plugin),
      fileHandler_(*this, HostIdentification::shuttleHostNumberOfProcess(), &timers_),
      pipe_(Util::NameRecord{0, "Shuttle Command Pipe"}, this, CapturePipeCapacity, {TakeOverMs, true},
            &criticalSection_),
      zmqContext_(IPC::Context::create()),
      endpoints_(std::move(endpoints)),
      host_(HostIdentification::shuttleHostNumberOfProcess())
{
    setFormat(plugin.sampleRate(), plugin.channelConfiguration());
    ensureLink();
    Trackable::connect(fileHandler_.captureFinished, [this] { onCaptureFinished(); });
    Trackable::connect(fileHandler_.playbackFinished, [this] { onPlaybackFinished(); });
}

Transform::~Transform()
{
    editorTasks_.drain();
    std::lock_guard<std::mutex> lock(linkMutex_);
    client_.reset();
}

// ---- State and link ------------------------------------------------------------

void Transform::setState(uint32_t value)
{
    if (auto shuttle = shuttle_.load())
        shuttle->SetParameterValue(ShuttleElement::kStateIndex, value);
}

uint32_t Transform::blockState() const
{
    Platform::ScopedLock hold(plugin().GetProcessingLock());
    return blockShuttle_ ? blockShuttle_->GetState() : 0;
}

uint32_t Transform::state() const
{
    const auto shuttle = shuttle_.load();
    if (!shuttle)
        return 0;
    const auto value = shuttle->GetParameterValue(ShuttleElement::kStateIndex);
    return value && std::holds_alternative<uint32_t>(*value) ? std::get<uint32_t>(*value) : 0;
}

std::shared_ptr<IPC::Client> Transform::link() const
{
    std::lock_guard<std::mutex> lock(linkMutex_);
    return client_;
}

bool Transform::hasLink() const { return link() != nullptr; }

bool Transform::requestOutstanding() const
{
    const auto client = link();
    return client && client->requestOutstanding();
}

void Transform::ensureLink()
{
    std::lock_guard<std::mutex> lock(linkMutex_);
    if (client_ || !zmqContext_)
        return;
    client_ = std::make_shared<IPC::Client>(zmqContext_, endpoints_);
    Trackable::connect(client_->enumeratedMessage, [this](int32_t value) { onEnumerated(value); });
    Trackable::connect(client_->unsignedMessage, [this](int32_t kind, uint32_t value) { onUnsigned(kind, value); });
}

bool Transform::sendToEditor(int32_t value)
{
    const auto client = link();
    if (!client)
        return false;
    return value == 5 ? client->sendWithoutReply(value) : client->sendRequest(value);
}

void Transform::pollLink()
{
    if (const auto client = link())
        client->poll();
}

void Transform::idle()
{
    TransformBase::idle();
    timers_.runDue();
}

// Under the critical section: whoever is posting to the old window has
// finished with it before the window goes.
void Transform::attachMainWindow(Shuttle::MainWindowActions* window)
{
    Platform::ScopedLock hold(criticalSection_);
    mainWindow_ = window;
}

// ---- Host tests -------------------------------------------------------------------

bool Transform::unsupportedHost() const { return Shuttle::HostSets::unsupported(host_); }

bool Transform::offlineFormat() const
{
    const uint32_t format = plugin().formatIdentifier();
    return format == FormatDpmAudioSuite || format == FormatAaxAudioSuite;
}

// ---- The block operation ------------------------------------------------------------

void Transform::processBlock(uint32_t frames, float* const* channels)
{
    if (unsupportedHost())
        return;
    const uint32_t s = blockState();
    const bool analysisPass = plugin().blockPass().analysisPass();
    if (offlineFormat()) {
        offlineFormatBlock(analysisPass, s, frames, channels);
        return;
    }
    if (!analysisPass && s == 3)
        play(frames, channels);
    else if (!analysisPass && s == 2)
        return; // the captured clip waits for the editor
    else
        capture(s, frames, channels);
}

void Transform::capture(uint32_t state, uint32_t frames, float* const* channels)
{
    if (captureSuppressed_)
        return;
    if (state != 1) // a change asks the host for an update; the same value again is none
        setState(1);
    if (!fileHandler_.write(frames, channels))
        setState(0);
}

void Transform::play(uint32_t frames, float* const* channels)
{
    playbackNoticeSent_ = false;
    if (!fileHandler_.read(frames, channels))
        setState(0);
}

void Transform::offlineFormatBlock(bool analysisPass, uint32_t s, uint32_t frames, float* const* channels)
{
    if (!analysisPass) {
        if (s == 3)
            play(frames, channels);
        return;
    }
    if (s != 3) {
        capture(s, frames, channels);
        return;
    }
    if (playbackNoticeSent_.exchange(true))
        return;
    Platform::ScopedLock hold(criticalSection_);
    postWindowAction([](Shuttle::MainWindowActions& w) { w.showInfoText(RenderOrDiscardNotice); });
}

void Transform::postWindowAction(std::function<void(Shuttle::MainWindowActions&)> action)
{
    if (auto* window = mainWindow_.load())
        pipe_.PostToLow(new Shuttle::DoActionOnMainWindowCommand(Shuttle::WindowActionSlot(*window, std::move(action))));
}

// ---- Run state, processing stop, host messages, format --------------------------------

void Transform::runStateChanged(bool running)
{
    TransformBase::runStateChanged(running);
    if (!running) {
        if (fileHandler_.captureOpen()) {
            if (state() == 1 && !unsupportedHost())
                fileHandler_.closeCapture();
        } else if (Shuttle::HostSets::stopClosesPlayback(host_, HostVersion::remembered()) && state() == 3 &&
                   !playbackNoticeSent_) {
            fileHandler_.closePlayback();
        }
        lastStopMs_ = Platform::tickCount();
        lastStopValid_ = true;
        return;
    }
    captureSuppressed_ = lastStopValid_ && fileHandler_.referenceMode() && !offlineFormat() &&
                         Platform::tickCount() - lastStopMs_ < RestartWindowMs;
}

void Transform::processingStopped()
{
    if (state() == 1 && !unsupportedHost())
        fileHandler_.closeCapture();
}

bool Transform::hostMessage(uint32_t, uint32_t selector, uint32_t size, const void* data)
{
    if (selector != TimelineOffsetMessage || size != 8 || !data)
        return false;
    int64_t offset;
    std::memcpy(&offset, data, 8);
    fileHandler_.setTimelineOffset(offset);
    return true;
}

void Transform::setFormat(float sampleRate, uint32_t channelFormat)
{
    TransformBase::setFormat(sampleRate, channelFormat);
    auto shuttle = GetDSPSet().GetShuttle();
    {
        Platform::ScopedLock hold(plugin().GetProcessingLock());
        blockShuttle_ = shuttle.get();
    }
    shuttle_.store(std::move(shuttle));
    fileHandler_.setFormat(sampleRate, channelFormat);
}

void Transform::refreshRepaired()
{
    if (Shuttle::HostSets::supported(host_)) {
        std::vector<Util::String> files;
        fileHandler_.listRepaired(files);
        repairedCount_ = uint32_t(files.size());
        if (files.empty())
            setState(0);
    }
    if (Shuttle::HostSets::refreshIdles(host_))
        setState(0);
}

// ---- Events of the file handler and the editor -----------------------------------------

void Transform::onCaptureFinished()
{
    Platform::ScopedLock hold(criticalSection_);
    const auto client = link();
    if (state() != 1 || !client)
        return;
    Shuttle::MainWindowActions* window = mainWindow_.load();
    if (window && fileHandler_.limitHit()) {
        postWindowAction([](Shuttle::MainWindowActions& w) { w.showInfoText(LimitNotice); });
        setState(0);
        return;
    }
    const bool reference = fileHandler_.referenceMode();
    fileHandler_.setReferenceMode(false);
    if (window)
        pipe_.PostToLow(new Shuttle::ReferenceClipCommand(*window, *this, false));

    Util::ConfigFile& settings = plugin().settings();
    if (reference) {
        setState(0);
        client->sendWithoutReply(2);
        editorTasks_.post([&settings] { settings.SetBool("ShuttleOpenRefFilesAtStartUp", true); });
    } else {
        setState(2);
        // In this order: the start-up key, the launch, then the message.
        editorTasks_.post([&settings, client] {
            settings.SetBool("ShuttleOpenFilesAtStartUp", true);
            Shuttle::EditorLauncher::launch(settings);
            client->sendRequest(1);
        });
    }
    if (!window && Shuttle::HostSets::linkDropping(host_)) {
        std::lock_guard<std::mutex> lock(linkMutex_);
        client_.reset();
    }
}

void Transform::onEnumerated(int32_t value)
{
    Platform::ScopedLock hold(criticalSection_);
    editorLink_ = value != 0;
    if (value == 3)
        postWindowAction([](Shuttle::MainWindowActions& w) { w.discardAction(); });
    else if (value == 4)
        postWindowAction([](Shuttle::MainWindowActions& w) { w.loadRepairedAction(); });
}

void Transform::onUnsigned(int32_t kind, uint32_t value)
{
    editorLink_ = true;
    if (kind == 0 && value <= Shuttle::FileHandler::MaxClipsPerPass)
        fileHandler_.setClipsInEditor(value);
}

// ---- The file handler's context --------------------------------------------------------------

uint32_t Transform::channelCount() const { return plugin().channelCount(); }

Shuttle::FileHandlerContext::Position Transform::transportPosition() const
{
    if (!plugin().blockPass().transportValid())
        return {0, false};
    return {int64_t(std::llround(plugin().blockPass().transportSamplePosition())), true};
}

Util::ConfigFile& Transform::configurationStore() { return plugin().settings(); }

void Transform::storeFlagLater(const char* key, bool value)
{
    Util::ConfigFile& settings = plugin().settings();
    editorTasks_.post([&settings, key, value] { settings.SetBool(key, value); });
}

} // namespace DSP
