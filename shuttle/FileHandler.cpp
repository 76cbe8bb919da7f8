#include "shuttle/FileHandler.h"

#include "core/ChannelConfiguration.h"
#include "dsp/ShuttleElement.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "shuttle/ClipFileName.h"
#include "shuttle/HostSets.h"
#include "io/ConfigFile.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace Shuttle {

namespace {

// The disk thread is woken when this share of the capture ring has filled
// since it was last woken, and for every request from another thread.
constexpr uint32_t WakeShare = 16;
// ... and when the read-ahead is down to this many chunks (a quarter of the
// default playback ring), so that it refills in few turns, well ahead.
constexpr uint64_t RefillBelowRecords = 2;

} // namespace

Util::String FileHandler::shuttleFolder()
{
    const Util::String fallback = Platform::roamingDataFolder() + "/Quillex/VU 6 Verov Edodod Session Data";
    const Util::ConfigFile editorSettings(Util::format("SOFTWARE\\%1\\%2", "Quillex", "VO6"));
    return Platform::toNativePath(editorSettings.GetString("Option/SessionDataFolder", fallback) + "/Relay");
}

FileHandler::FileHandler(FileHandlerContext& context, uint32_t hostNumber, UI::TimerQueue* timers, DiskOptions options)
    : context_(context), host_(hostNumber), folder_(shuttleFolder()), options_(std::move(options)),
      captureRecords_(options_.records), captureSamples_(options_.captureSamples), playbackRecords_(options_.records),
      playbackSamples_(options_.playbackSamples, Atomic::SpanRing<float>::Storage::Later), controls_(256),
      recorder_(std::make_unique<ClipRecorder>(host_, folder_, timelineOffset_, captureFinished, captureFailed)),
      player_(std::make_unique<RepairedPlayer>(context_, host_, folder_, playbackRecords_, playbackSamples_,
                                               playbackFinished))
{
    disk_.Start([this](Util::Thread& self) { runDisk(self); });
    if (timers && hasTimer())
        timer_ = std::make_unique<UI::SimpleTimer>(*timers, TimerIntervalMs, [this] { tick(); });
}

FileHandler::~FileHandler() { shutdown(); }

void FileHandler::shutdown()
{
    timer_.reset();
    if (!disk_.IsRunning())
        return;
    drain();
    disk_.Stop();
    recorder_->closeQuietly();
}

bool FileHandler::hasTimer() const { return HostSets::supported(host_); }

bool FileHandler::captureOpen() const
{
    return captureRecords_.Popped() < lastBlockRecord_.load(std::memory_order_acquire) || recorder_->clipOpen() ||
           (recorder_->failed() && recorder_->passOpen());
}

Audio::Format FileHandler::audioFormat() const
{
    Audio::Format format;
    format.channels = formatChannels_;
    format.sampleRate = sampleRate_;
    format.bytesPerSample = 4;
    format.floatingPoint = true;
    return format;
}

void FileHandler::setFormat(float sampleRate, uint32_t channelFormat)
{
    sampleRate_ = uint32_t(std::lround(sampleRate));
    formatChannels_ = ChannelConfiguration::channelCount(channelFormat);
}

void FileHandler::setClipsInEditor(uint32_t clips) { recorder_->setClipsInEditor(clips); }

void FileHandler::setTimelineOffset(int64_t offset) { timelineOffset_.set(offset); }

bool FileHandler::listRepaired(std::vector<Util::String>& files) const
{
    return RepairedPlayer::listRepaired(folder_, files);
}

// ---- Requests to the disk thread --------------------------------------------------

void FileHandler::post(DiskControl control)
{
    control.recordsBefore = captureRecords_.Pushed();
    // The queue holds far more requests than a host makes between two turns
    // of the disk thread; should it be full, the disk thread is behind and the
    // request waits its turn.
    while (!controls_.TryPush(control)) {
        disk_.SetEvent();
        std::this_thread::yield();
    }
    disk_.SetEvent();
}

DiskControl FileHandler::control(DiskControl::Kind kind)
{
    DiskControl control;
    control.kind = kind;
    return control;
}

void FileHandler::closeCapture()
{
    DiskControl close = control(DiskControl::Kind::CloseCapture);
    close.offset = timelineOffset_.snapshot();
    post(close);
}

void FileHandler::closePlayback() { post(control(DiskControl::Kind::ClosePlayback)); }

void FileHandler::tick()
{
    DiskControl timeOuts = control(DiskControl::Kind::TimeOuts);
    timeOuts.now = Platform::tickCount();
    post(timeOuts);
}

void FileHandler::setRepairedList(std::vector<Util::String> files)
{
    std::stable_sort(files.begin(), files.end(), [](const Util::String& a, const Util::String& b) {
        return ClipFileName::clipNumber(a).value_or(0) < ClipFileName::clipNumber(b).value_or(0);
    });
    player_->offerList(std::move(files));
    post(control(DiskControl::Kind::RepairedListSet));
}

void FileHandler::drain()
{
    if (!disk_.IsRunning())
        return; // shut down: nothing is left to wait for
    DiskControl drain = control(DiskControl::Kind::Drain);
    const uint64_t ticket = drain.ticket = drainTickets_.fetch_add(1, std::memory_order_relaxed) + 1;
    post(drain);
    for (uint64_t done = drained_.load(std::memory_order_acquire); done < ticket;
         done = drained_.load(std::memory_order_acquire))
        drained_.wait(done, std::memory_order_acquire);
}

// ---- The audio side: capture ------------------------------------------------------

// The one wait of the audio side, and only when the render runs faster than
// the disk: the capture ring is full, or the read-ahead is empty while the
// file still has frames. An offline render then waits for the disk rather
// than lose a frame of a clip the editor is to repair, or play a frame out of
// place; a real-time host would have lost the clip anyway with a disk that
// cannot keep up with real time. `seen` is the disk's progress read before the
// ring was found wanting, so no progress made since is missed.
void FileHandler::waitForDisk(uint32_t seen)
{
    audioWaiting_.store(true, std::memory_order_release);
    disk_.SetEvent();
    diskProgress_.wait(seen, std::memory_order_acquire);
    const uint32_t now = Platform::tickCount();
    audioWaitEnded_.store(now == Silence::NoWait ? now + 1 : now, std::memory_order_release);
    audioWaiting_.store(false, std::memory_order_release);
}

bool FileHandler::write(uint32_t frames, float* const* channels)
{
    const uint32_t formatChannels = formatChannels_.load(std::memory_order_relaxed);
    if (formatChannels == 0)
        return false;
    wroteLast_ = true;
    CaptureRecord record;
    record.channels = context_.channelCount();
    record.stamp = Platform::tickCount();
    record.formatChannels = formatChannels;
    record.sampleRate = sampleRate_.load(std::memory_order_relaxed);
    record.reference = referenceMode_;
    const auto position = context_.transportPosition();
    record.position = position.samples;
    record.positionValid = position.valid;
    record.offset = timelineOffset_.snapshot();
    if (record.channels > 0) {
        const uint32_t maxFrames = captureSamples_.MaxSpan() / record.channels;
        for (uint32_t first = 0; first < frames; first += maxFrames)
            pushBlock(record, channels, first, std::min(maxFrames, frames - first));
    }
    return !recorder_->failed();
}

void FileHandler::pushBlock(CaptureRecord record, float* const* channels, uint32_t first, uint32_t frames)
{
    const uint32_t count = frames * record.channels;
    for (;;) {
        const uint32_t seen = diskProgress_.load(std::memory_order_acquire);
        if (captureRecords_.FreeSlots() > 0) {
            if (const auto start = captureSamples_.Reserve(count)) {
                record.sampleStart = *start;
                break;
            }
        }
        waitForDisk(seen);
    }
    float* out = captureSamples_.At(record.sampleStart);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint32_t c = 0; c < record.channels; ++c)
            *out++ = channels[c][first + i];
    captureSamples_.Commit(record.sampleStart, count);
    record.frames = frames;
    captureRecords_.TryPush(record);
    lastBlockRecord_.store(captureRecords_.Pushed(), std::memory_order_release);
    samplesSinceWake_ += count;
    if (samplesSinceWake_ >= captureSamples_.Capacity() / WakeShare) {
        samplesSinceWake_ = 0;
        disk_.SetEvent();
    }
}

// Requests are few and small; they wait for room like blocks do. Only a
// want wakes the disk thread: the audio side waits for its answer. The others
// are taken at the disk thread's next turn, ahead of any later request; a
// wake-up here could cost the audio thread its core.
void FileHandler::pushRequest(CaptureRecord::Kind kind, uint32_t generation)
{
    CaptureRecord record;
    record.kind = kind;
    record.generation = generation;
    for (;;) {
        const uint32_t seen = diskProgress_.load(std::memory_order_acquire);
        if (captureRecords_.TryPush(record))
            break;
        waitForDisk(seen);
    }
    if (kind == CaptureRecord::Kind::WantPlayback)
        disk_.SetEvent();
}

// ---- The audio side: playback -----------------------------------------------------

bool FileHandler::read(uint32_t frames, float* const* channels)
{
    if (wroteLast_) {
        wroteLast_ = false;
        pushRequest(CaptureRecord::Kind::ReadStarted);
    }
    for (;;) {
        if (playing_.active && playing_.generation != player_->liveGeneration())
            playing_.active = false; // closed, or replaced by a new list
        if (!playing_.active && !startPlaying())
            return false;
        lastRead_.store(Platform::tickCount(), std::memory_order_relaxed);
        reading_.store(true, std::memory_order_release);
        const uint32_t count = context_.channelCount();
        if (playing_.channels != count)
            return true; // another channel count: the host's audio passes
        if (playing_.position >= playing_.length) {
            // The block that reached the end kept the host's audio after the
            // last repaired frame; only blocks wholly past the end are silent.
            if (!HostSets::noSilenceAfterEnd(host_))
                for (uint32_t c = 0; c < count; ++c)
                    std::fill(channels[c], channels[c] + frames, 0.0f);
            return true;
        }
        const auto wanted = uint32_t(std::min<uint64_t>(frames, playing_.length - playing_.position));
        switch (takeFrames(wanted, channels)) {
        case Taken::All:
            playing_.position += wanted;
            return true;
        case Taken::Failed:
            playing_.active = false;
            pushRequest(CaptureRecord::Kind::DropPlayback, playing_.generation);
            return false;
        case Taken::Dropped:
            playing_.active = false;
            break; // the next file, from its start
        }
    }
}

// Takes the file the disk thread announced, or asks for one and waits for the
// answer: the read-ahead is empty while a file may still have frames.
bool FileHandler::startPlaying()
{
    for (;;) {
        const uint32_t seen = diskProgress_.load(std::memory_order_acquire);
        if (player_->offerPending()) {
            waitForDisk(seen); // the file to start is the new list's
            continue;
        }
        const uint32_t live = player_->liveGeneration();
        const PlaybackRecord* front = playbackRecords_.Peek();
        if (!front) {
            if (!wantSent_) {
                wantSent_ = true;
                pushRequest(CaptureRecord::Kind::WantPlayback);
            }
            waitForDisk(seen);
            continue;
        }
        const PlaybackRecord record = *front;
        skipFront();
        if (record.kind == PlaybackRecord::Kind::None) {
            // Stale or not, the want is answered; a stale one is asked again.
            wantSent_ = false;
            if (record.generation >= live)
                return false;
            continue;
        }
        if (record.kind != PlaybackRecord::Kind::Start || record.generation < live)
            continue; // what is left of a file given up
        playing_ = Playing{true, record.generation, record.channels, record.length, 0, 0};
        wantSent_ = false;
        pushRequest(CaptureRecord::Kind::ClaimPlayback, record.generation);
        return true;
    }
}

void FileHandler::skipFront()
{
    const PlaybackRecord* front = playbackRecords_.Peek();
    if (front->kind == PlaybackRecord::Kind::Frames)
        playbackSamples_.Release(front->sampleStart + uint64_t(front->frames) * front->channels);
    playbackRecords_.Pop();
    // The disk thread refills most of the ring in one turn.
    if (playbackRecords_.Pushed() - playbackRecords_.Popped() <= RefillBelowRecords)
        disk_.SetEvent();
}

// Copies the next `frames` frames of the playing file into the channels as
// the disk thread reads them ahead; the ring may hold fewer than a block.
// When the file failed to read, the frames before the failure are in place
// and the rest of the block is the host's.
FileHandler::Taken FileHandler::takeFrames(uint32_t frames, float* const* channels)
{
    const uint32_t fileChannels = playing_.channels;
    for (uint32_t done = 0; done < frames;) {
        const uint32_t seen = diskProgress_.load(std::memory_order_acquire);
        if (playing_.generation != player_->liveGeneration())
            return Taken::Dropped;
        const PlaybackRecord* record = playbackRecords_.Peek();
        if (!record) {
            waitForDisk(seen);
            continue;
        }
        if (record->kind == PlaybackRecord::Kind::Failed && record->generation == playing_.generation)
            return Taken::Failed;
        if (record->kind != PlaybackRecord::Kind::Frames || record->generation != playing_.generation) {
            skipFront();
            continue;
        }
        const uint32_t take = std::min(frames - done, record->frames - playing_.framesTakenOfFront);
        const float* in = playbackSamples_.At(record->sampleStart + uint64_t(playing_.framesTakenOfFront) * fileChannels);
        for (uint32_t i = 0; i < take; ++i)
            for (uint32_t c = 0; c < fileChannels; ++c)
                channels[c][done + i] = *in++;
        done += take;
        playing_.framesTakenOfFront += take;
        if (playing_.framesTakenOfFront == record->frames) {
            playing_.framesTakenOfFront = 0;
            skipFront();
        }
    }
    return Taken::All;
}

// ---- The disk thread ------------------------------------------------------------------

void FileHandler::runDisk(Util::Thread& self)
{
    for (;;) {
        bool worked = serviceControls();
        worked = handleRecords(UINT64_MAX, StopAt::Control) || worked;
        worked = player_->readAhead(options_.pace, [this] { reportProgress(); }) || worked;
        if (answeredTicket_ > drained_.load(std::memory_order_relaxed)) {
            drained_.store(answeredTicket_, std::memory_order_release);
            drained_.notify_all();
        }
        if (worked) {
            reportProgress();
            continue;
        }
        if (self.StopRequested())
            return;
        self.WaitForEvent();
    }
}

// After every record taken and every one queued: an audio side waiting for
// room or for frames goes on at once, while the disk thread goes on too.
void FileHandler::reportProgress()
{
    diskProgress_.fetch_add(1, std::memory_order_release);
    diskProgress_.notify_all();
}

bool FileHandler::serviceControls()
{
    bool any = false;
    DiskControl control;
    while (controls_.TryPop(control)) {
        handleRecords(control.recordsBefore);
        apply(control);
        any = true;
    }
    return any;
}

// With StopAt::Control, the records stop where a control came in: a close or a
// time-out posted between two blocks must apply between them, and the
// control's own turn takes the records before it. It is looked for after a
// record is found, and the poster queued it before any later record.
bool FileHandler::handleRecords(uint64_t upTo, StopAt stop)
{
    bool any = false;
    while (captureRecords_.Popped() < upTo) {
        const CaptureRecord* record = captureRecords_.Peek();
        if (!record || (stop == StopAt::Control && controls_.HasItem()))
            break;
        handle(*record);
        captureRecords_.Pop();
        reportProgress();
        any = true;
    }
    return any;
}

void FileHandler::handle(const CaptureRecord& record)
{
    switch (record.kind) {
    case CaptureRecord::Kind::Block:
        if (options_.pace)
            options_.pace();
        recorder_->block(record, captureSamples_.At(record.sampleStart));
        captureSamples_.Release(record.sampleStart + uint64_t(record.frames) * record.channels);
        break;
    case CaptureRecord::Kind::ReadStarted: recorder_->readStarted(); break;
    case CaptureRecord::Kind::WantPlayback: player_->want(); break;
    case CaptureRecord::Kind::ClaimPlayback: player_->claim(record.generation); break;
    case CaptureRecord::Kind::DropPlayback: player_->drop(record.generation); break;
    }
}

void FileHandler::apply(const DiskControl& control)
{
    switch (control.kind) {
    case DiskControl::Kind::CloseCapture: recorder_->close(control.offset); break;
    case DiskControl::Kind::ClosePlayback: player_->close(); break;
    case DiskControl::Kind::TimeOuts: applyTimeOuts(control.now); break;
    case DiskControl::Kind::RepairedListSet: player_->applyOfferedList(); break;
    case DiskControl::Kind::Drain: answeredTicket_ = std::max(answeredTicket_, control.ticket); break;
    }
}

// Blocks that stop arriving end a clip or a playback; an audio side that
// waits for this thread is still delivering its block, so no time-out runs
// while it waits, and the end of its wait counts as its last block.
void FileHandler::applyTimeOuts(uint32_t now)
{
    if (audioWaiting_.load(std::memory_order_acquire)) {
        rescanWhenReady();
        return;
    }
    uint32_t activeAt = audioWaitEnded_.load(std::memory_order_acquire);
    if (activeAt != Silence::NoWait && int32_t(now - activeAt) > int32_t(TimeOutMs) &&
        audioWaitEnded_.compare_exchange_strong(activeAt, Silence::NoWait, std::memory_order_acq_rel))
        activeAt = Silence::NoWait; // long past: no longer needed, and never mistaken for new
    const bool passEnded = HostSets::writeTimeOut(host_) && recorder_->timeOut(now, TimeOutMs, activeAt);
    if (!passEnded && HostSets::readTimeOut(host_) && reading_.load(std::memory_order_acquire) &&
        Silence::longerThan(TimeOutMs, now, lastRead_.load(std::memory_order_relaxed), activeAt)) {
        reading_ = false;
        player_->end();
    }
    rescanWhenReady();
}

void FileHandler::rescanWhenReady()
{
    if (HostSets::rescanInReadyState(host_) && context_.shuttleState() == DSP::ShuttleElement::ReadyToWrite)
        player_->rescan();
}

} // namespace Shuttle
