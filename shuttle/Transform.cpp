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
#include <string_view>

namespace DSP {

namespace {
constexpr uint32_t TimelineOffsetMessage = EntryProtocol::PropertyId::TimelineOffset;
constexpr uint32_t FormatDpmAudioSuite = EntryProtocol::Format::DpmAudioSuite;
constexpr uint32_t FormatAaxAudioSuite = EntryProtocol::Format::AaxAudioSuite;
constexpr uint32_t FormatLv2 = EntryProtocol::Format::Lv2;

// Whether `text` says "maximum of <count>".
constexpr bool namesMaximum(std::string_view text, uint32_t count)
{
    constexpr std::string_view lead = "maximum of ";
    const auto at = text.find(lead);
    if (at == std::string_view::npos)
        return false;
    uint32_t value = 0;
    size_t digits = 0;
    for (size_t i = at + lead.size(); i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
        value = value * 10 + uint32_t(text[i] - '0');
    return digits > 0 && value == count;
}
static_assert(namesMaximum(Transform::LimitNotice, Shuttle::FileHandler::MaxClipsPerPass),
              "the limit notice must name the clip limit");
} // namespace

using Shuttle::EditorMessage;

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
    Trackable::connect(fileHandler_.captureFailed, [this] { onCaptureFailed(); });
}

// The disk thread stops first: its last events still find everything they use.
Transform::~Transform()
{
    fileHandler_.shutdown();
    editorTasks_.drain();
    Platform::ScopedLock lock(linkLock_);
    client_.reset();
}

void Transform::drain()
{
    fileHandler_.drain();
    editorTasks_.drain();
}

// ---- State and link ------------------------------------------------------------

void Transform::setState(State value)
{
    Platform::ScopedLock hold(stateLock_);
    if (auto shuttle = shuttle_.load())
        shuttle->SetParameterValue(ShuttleElement::kStateIndex, uint32_t(value));
}

Transform::State Transform::state() const
{
    const auto shuttle = shuttle_.load();
    if (!shuttle)
        return State::Idle;
    const auto value = shuttle->GetParameterValue(ShuttleElement::kStateIndex);
    return value && std::holds_alternative<uint32_t>(*value) ? State(std::get<uint32_t>(*value)) : State::Idle;
}

// The audio thread's calls outside the block read the state through the
// block's element when they can have the processing lock at once: the entry
// holds it for them, so no reference count moves there.
Transform::State Transform::stateOnAudioSide() const
{
    Platform::TryLock hold(plugin().GetProcessingLock(), std::try_to_lock);
    if (hold.owns_lock() && blockShuttle_)
        return State(blockShuttle_->GetState());
    return state();
}

void Transform::setBlockState(State value)
{
    blockShuttle_->SetParameterValue(ShuttleElement::kStateIndex, uint32_t(value));
}

std::shared_ptr<IPC::Client> Transform::link() const
{
    Platform::ScopedLock lock(linkLock_);
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
    Platform::ScopedLock lock(linkLock_);
    if (client_ || !zmqContext_)
        return;
    client_ = std::make_shared<IPC::Client>(zmqContext_, endpoints_);
    Trackable::connect(client_->enumeratedMessage, [this](int32_t value) { onEnumerated(value); });
    Trackable::connect(client_->unsignedMessage, [this](int32_t kind, uint32_t value) { onUnsigned(kind, value); });
}

bool Transform::sendToEditor(EditorMessage message)
{
    const auto client = link();
    if (!client)
        return false;
    const auto value = int32_t(message);
    return message == EditorMessage::WindowOpened ? client->sendWithoutReply(value) : client->sendRequest(value);
}

void Transform::pollLink()
{
    if (const auto client = link())
        client->poll();
}

void Transform::idle()
{
    TransformBase::idle();
    if (playbackNoticeDue_.exchange(false))
        postRenderOrDiscardNotice();
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

// An LV2 host plays its audio through the plug-in all the time; as in the
// offline formats, only a pass marked as analysis (the pass control set to
// send) captures, and the others play back what is ready or pass the audio.
bool Transform::offlineFormat() const
{
    const uint32_t format = plugin().formatIdentifier();
    return format == FormatDpmAudioSuite || format == FormatAaxAudioSuite || format == FormatLv2;
}

// ---- The block operation ------------------------------------------------------------

void Transform::processBlock(uint32_t frames, float* const* channels)
{
    if (unsupportedHost())
        return;
    // The entry holds the processing lock for the block, and a format change
    // replaces the shuttle element only under it: entering it again here just
    // counts. Should another thread hold it, the shuttle sits this block out.
    Platform::TryLock hold(plugin().GetProcessingLock(), std::try_to_lock);
    if (!hold.owns_lock() || !blockShuttle_)
        return;
    const auto s = State(blockShuttle_->GetState());
    const bool analysisPass = plugin().blockPass().analysisPass();
    if (offlineFormat()) {
        offlineFormatBlock(analysisPass, s, frames, channels);
        return;
    }
    if (!analysisPass && s == State::ReadyToWrite)
        play(frames, channels);
    else if (!analysisPass && s == State::Captured)
        return; // the captured clip waits for the editor
    else
        capture(s, frames, channels);
}

// A pass that failed keeps taking its blocks (so that it ends as any pass
// does) while the state stays Idle.
void Transform::capture(State s, uint32_t frames, float* const* channels)
{
    if (captureSuppressed_)
        return;
    const bool failed = fileHandler_.passFailed();
    if (!failed && s != State::Capturing) // a change asks the host for an update; the same value again is none
        setBlockState(State::Capturing);
    if (!fileHandler_.write(frames, channels) && (s != State::Idle || !failed))
        setBlockState(State::Idle);
}

void Transform::play(uint32_t frames, float* const* channels)
{
    playbackNoticeSent_ = false;
    if (!fileHandler_.read(frames, channels))
        setBlockState(State::Idle);
}

void Transform::offlineFormatBlock(bool analysisPass, State s, uint32_t frames, float* const* channels)
{
    if (!analysisPass) {
        if (s == State::ReadyToWrite)
            play(frames, channels);
        return;
    }
    if (s != State::ReadyToWrite) {
        capture(s, frames, channels);
        return;
    }
    if (!playbackNoticeSent_.exchange(true))
        playbackNoticeDue_ = true;
}

void Transform::postRenderOrDiscardNotice()
{
    Platform::ScopedLock hold(criticalSection_);
    postWindowAction([](Shuttle::MainWindowActions& w) { w.showInfoText(RenderOrDiscardNotice); });
}

void Transform::postWindowAction(std::function<void(Shuttle::MainWindowActions&)> action)
{
    if (auto* window = mainWindow_.load())
        pipe_.PostToLow(new Shuttle::DoActionOnMainWindowCommand(Shuttle::WindowActionSlot(*window, std::move(action))));
}

// ---- Run state, processing stop, host messages, format --------------------------------

// A failed pass ends at a stop like any other, although the state went back to Idle.
void Transform::runStateChanged(bool running)
{
    TransformBase::runStateChanged(running);
    if (!running) {
        const State s = stateOnAudioSide();
        if (fileHandler_.captureOpen()) {
            if ((s == State::Capturing || fileHandler_.passFailed()) && !unsupportedHost())
                fileHandler_.closeCapture();
        } else if (Shuttle::HostSets::stopClosesPlayback(host_, HostVersion::remembered()) &&
                   s == State::ReadyToWrite && !playbackNoticeSent_) {
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
    if ((stateOnAudioSide() == State::Capturing || fileHandler_.passFailed()) && !unsupportedHost())
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
            setState(State::Idle);
    }
    if (Shuttle::HostSets::refreshIdles(host_))
        setState(State::Idle);
}

// ---- Events of the file handler and the editor -----------------------------------------

// On the disk thread, once the pass's clips are complete on disk.
void Transform::onCaptureFinished()
{
    Platform::ScopedLock hold(criticalSection_);
    const auto client = link();
    if (state() != State::Capturing || !client)
        return;
    Shuttle::MainWindowActions* window = mainWindow_.load();
    if (window && fileHandler_.limitHit()) {
        postWindowAction([](Shuttle::MainWindowActions& w) { w.showInfoText(LimitNotice); });
        setState(State::Idle);
        return;
    }
    const bool reference = fileHandler_.referenceMode();
    fileHandler_.setReferenceMode(false);
    if (window)
        pipe_.PostToLow(new Shuttle::ReferenceClipCommand(*window, *this, false));

    Util::ConfigFile& settings = plugin().settings();
    if (reference) {
        setState(State::Idle);
        client->sendWithoutReply(int32_t(EditorMessage::ReferenceClipsSent));
        editorTasks_.post([&settings] { settings.SetBool("ShuttleOpenRefFilesAtStartUp", true); });
    } else {
        setState(State::Captured);
        // In this order: the start-up key, the launch, then the message.
        editorTasks_.post([&settings, client] {
            settings.SetBool("ShuttleOpenFilesAtStartUp", true);
            Shuttle::EditorLauncher::launch(settings);
            client->sendRequest(int32_t(EditorMessage::ClipsWaiting));
        });
    }
    if (!window && Shuttle::HostSets::linkDropping(host_)) {
        Platform::ScopedLock lock(linkLock_);
        client_.reset();
    }
}

void Transform::onEnumerated(int32_t value)
{
    Platform::ScopedLock hold(criticalSection_);
    editorLink_ = value != int32_t(EditorMessage::ClearLink);
    if (value == int32_t(EditorMessage::Discard))
        postWindowAction([](Shuttle::MainWindowActions& w) { w.discardAction(); });
    else if (value == int32_t(EditorMessage::RepairedReady))
        postWindowAction([](Shuttle::MainWindowActions& w) { w.loadRepairedAction(); });
}

void Transform::onUnsigned(int32_t kind, uint32_t value)
{
    editorLink_ = true;
    if (kind == Shuttle::ClipsHeldKind && value <= Shuttle::FileHandler::MaxClipsPerPass)
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
