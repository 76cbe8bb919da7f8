#include "shuttle/ClipRecorder.h"

#include "platform/Clock.h"
#include "platform/FileIO.h"
#include "shuttle/BroadcastExtension.h"
#include "shuttle/ClipFileName.h"
#include "shuttle/FailureReason.h"
#include "shuttle/HostSets.h"
#include "shuttle/Silence.h"
#include "util/Log.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;

namespace Shuttle {

namespace {

bool exists(const Util::String& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec)); // a dangling link still takes its name
}

// The instances of one process share the folder, each with its own disk
// thread: choosing a free name and creating the clip file under it, and
// cleaning the folder, happen one thread at a time. Two clips never take one
// name, and a file just created is never cleaned away before its instance
// holds it open. [disk-thread]
Platform::CriticalSection& folderLock()
{
    static Platform::CriticalSection lock("Shuttle Folder Lock");
    return lock;
}

} // namespace

ClipRecorder::ClipRecorder(uint32_t hostNumber, Util::String folder, TimelineOffset& offset,
                           Util::Signal<void()>& finished, Util::Signal<void()>& failed)
    : host_(hostNumber), folder_(std::move(folder)), offset_(offset), finished_(finished), failedSignal_(failed)
{
}

ClipRecorder::~ClipRecorder() { closeQuietly(); }

void ClipRecorder::closeQuietly()
{
    if (!writer_)
        return;
    if (auto failure = finishClip(offset_.snapshot()))
        Util::Log::write(*failure);
    writer_.reset();
    clipOpen_ = false;
}

void ClipRecorder::setClipsInEditor(uint32_t clips)
{
    clipsInEditor_ = clips;
    clipsInEditorValid_ = true;
}

uint32_t ClipRecorder::clipLimit() const
{
    if (!clipsInEditorValid_)
        return MaxClipsPerPass;
    const uint32_t held = clipsInEditor_;
    return held >= MaxClipsPerPass ? 0 : MaxClipsPerPass - held;
}

void ClipRecorder::beginPass()
{
    passOpen_ = true;
    clipNumber_ = 0;
    limitHit_ = false;
    failed_ = false;
    logged_ = false;
}

// A failed pass ends quietly: its clip is not for the editor.
void ClipRecorder::endPass(const TimelineOffset::Snapshot& offset)
{
    closeClip(offset);
    passOpen_ = false;
    if (failed_.exchange(false))
        return;
    finished_();
}

void ClipRecorder::block(const CaptureRecord& record, const float* samples)
{
    if (!passOpen_)
        beginPass();
    if (limitHit_)
        return; // the 17th clip is not written; the host's audio passed
    lastWrite_ = record.stamp;
    writing_ = true;
    if (failed_)
        return;
    if (!writer_ && !openNextClip(record))
        return;
    // A clip whose channel count no longer matches is closed, and its pass
    // ended, before the next clip opens: whoever hears of the end sees the
    // limit as it stood for the clips written so far.
    if (writer_->GetFormat().channels != record.channels) {
        closeClip(record.offset);
        if (!HostSets::silentClose(host_))
            endPass(record.offset);
        if (failed_ || !openNextClip(record))
            return;
        if (writer_->GetFormat().channels != record.channels)
            return; // the audio format itself disagrees with the block
    }
    if (auto written = writer_->WriteFloatInterleaved(record.frames, samples); !written)
        failPass(Util::format("Clip file %1 could not be written: %2", writer_->GetPath(),
                              FailureReason::of(written.error())));
}

void ClipRecorder::close(const TimelineOffset::Snapshot& offset)
{
    if (!writer_ && !failed_)
        return;
    closeClip(offset);
    if (!HostSets::silentClose(host_))
        endPass(offset);
}

bool ClipRecorder::timeOut(uint32_t now, uint32_t limitMs, uint32_t activeAt)
{
    if (!writing_ || !Silence::longerThan(limitMs, now, lastWrite_, activeAt))
        return false;
    writing_ = false;
    endPass(offset_.snapshot());
    return true;
}

bool ClipRecorder::openNextClip(const CaptureRecord& record)
{
    if (record.formatChannels == 0)
        return false;
    const uint64_t number = ++clipNumber_;
    if (number > clipLimit()) {
        limitHit_ = true;
        return false;
    }
    clipStart_ = record.position;
    clipStartValid_ = record.positionValid;
    Platform::ScopedLock hold(folderLock());
    if (number == 1) {
        if (auto problem = prepareFolder(record.reference, record.stamp)) {
            failPass(*problem);
            return false;
        }
    }
    Audio::Format format;
    format.channels = record.formatChannels;
    format.sampleRate = record.sampleRate;
    format.bytesPerSample = 4;
    format.floatingPoint = true;
    auto encoder = std::make_unique<Audio::Encode::WAV::Encoder>(freeClipPath(record.reference), format);
    if (auto begun = encoder->BeginWriting(); !begun) {
        (void)encoder->Salvage(); // a header cut short by a full disk goes
        failPass(Util::format("Clip file %1 could not be opened: %2", encoder->GetPath(), FailureReason::of(begun.error())));
        return false;
    }
    writer_ = std::move(encoder);
    clipOpen_ = true;
    return true;
}

// The first clip of a repair pass removes everything from the folder but the
// reference and ready files; a reference pass removes nothing. A missing
// folder is made. Answers the failure's log line.
std::optional<Util::String> ClipRecorder::prepareFolder(bool reference, uint32_t passStartTick)
{
    std::error_code ec;
    if (fs::is_directory(folder_, ec)) {
        if (reference)
            return std::nullopt;
        // The disk thread may come to this pass's first block late: a clip
        // that another instance wrote after this pass began on the audio side
        // belongs to the same render, and stays for the editor.
        const auto passStart = fs::file_time_type::clock::now() -
                               std::chrono::milliseconds(Platform::tickCount() - passStartTick);
        for (const auto& entry : fs::directory_iterator(folder_, ec)) {
            const Util::String name = entry.path().filename().string();
            if (ClipFileName::survivesFolderCleaning(name))
                continue;
            std::error_code age;
            if (const auto written = fs::last_write_time(entry.path(), age); !age && written >= passStart)
                continue;
            // A link goes, never what it points to; a full folder stays, and so
            // does a clip another instance still has open.
            (void)Platform::removeUnlessOpen(entry.path().string());
        }
        return std::nullopt;
    }
    fs::create_directories(folder_, ec);
    if (ec)
        return Util::format("Shuttle folder %1 could not be created: %2", folder_, ec.message());
    return std::nullopt;
}

Util::String ClipRecorder::freeClipPath(bool reference) const
{
    const Util::String host = ClipFileName::hostPart(host_);
    const Util::String tag = reference ? "reference" : "captured";
    for (uint32_t k = 0;; ++k) {
        const Util::String path = folder_ + "/" + ClipFileName::compose(host, clipNumber_, tag, k);
        if (!exists(path))
            return path;
    }
}

void ClipRecorder::closeClip(const TimelineOffset::Snapshot& offset)
{
    if (!writer_)
        return;
    if (auto failure = finishClip(offset))
        failPass(*failure);
}

// The time reference is the clip's start on the host timeline plus the
// host's timeline offset when both are known, and never below 0; the offset
// is used up by the clip. Answers the failure's log line; a failed clip stays
// open for failPass to cut.
std::optional<Util::String> ClipRecorder::finishClip(const TimelineOffset::Snapshot& offset)
{
    uint64_t reference = 0;
    if (clipStartValid_ && offset.valid())
        reference = uint64_t(std::max<int64_t>(0, clipStart_ + offset.value));
    offset_.consume(offset);
    auto finished = writer_->WriteChunk("bext", BroadcastExtension::chunk(reference));
    if (finished)
        finished = writer_->Finish();
    if (!finished)
        return Util::format("Clip file %1 could not be finished: %2", writer_->GetPath(), FailureReason::of(finished.error()));
    {
        Platform::ScopedLock hold(finishedLock_);
        finishedClips_.push_back(writer_->GetPath());
    }
    writer_.reset();
    clipOpen_ = false;
    return std::nullopt;
}

std::vector<Util::String> ClipRecorder::finishedClips() const
{
    Platform::ScopedLock hold(finishedLock_);
    return finishedClips_;
}

// The clip keeps the whole frames that reached the disk, with its header
// saying so, so that the editor or the user can still read what is there.
void ClipRecorder::failPass(Util::String reason)
{
    if (writer_) {
        const auto kept = writer_->Salvage();
        reason += kept ? Util::format("; it keeps the %1 frames that reached the disk", kept.value())
                       : Util::format("; it could not be cut to the frames on disk: %1", FailureReason::of(kept.error()));
        writer_.reset();
        clipOpen_ = false;
    }
    if (!logged_)
        Util::Log::write(reason);
    logged_ = true;
    failed_ = true;
    failedSignal_();
}

} // namespace Shuttle
