#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "audio/WavEncoder.h"
#include "platform/CriticalSection.h"
#include "shuttle/CaptureRecord.h"
#include "shuttle/TimelineOffset.h"
#include "util/Text.h"
#include "util/Trackable.h"

namespace Shuttle {

// The disk thread's half of capturing: turns the audio side's blocks into clip
// files in the shuttle folder. A pass opens with the first block after the
// last pass ended; each clip file opened in it takes the next clip number, up
// to the limit of MaxClipsPerPass less the clips the editor holds, and the
// first clip of a repair pass cleans the folder. A clip ends at a close, when
// the blocks' channel count changes, or with its pass.
//
// A failure (folder, opening, writing, finishing) fails the pass: the clip
// keeps exactly the whole frames that reached the disk, one log line names the
// file and the system's reason, `failed` is emitted, and the pass takes its
// remaining blocks without writing them until it ends, quietly. Only a pass
// that did not fail ends with `finished`.
//
// All operations run on the disk thread; the figures are published for any thread.
class ClipRecorder {
public:
    static constexpr uint32_t MaxClipsPerPass = 16;

    ClipRecorder(uint32_t hostNumber, Util::String folder, TimelineOffset& offset, Util::Signal<void()>& finished,
                 Util::Signal<void()>& failed);
    ~ClipRecorder(); // closeQuietly()
    ClipRecorder(const ClipRecorder&) = delete;
    ClipRecorder& operator=(const ClipRecorder&) = delete;

    // `samples`: the block's frames, interleaved. [disk-thread]
    void block(const CaptureRecord& record, const float* samples);
    // A read started: the next block opens a new pass. [disk-thread]
    void readStarted() { passOpen_ = false; }
    // Finishes the open clip; ends the pass unless the host closes silently. [disk-thread]
    void close(const TimelineOffset::Snapshot& offset);
    // Ends the pass when blocks stopped for more than `limitMs` before `now`,
    // counting `activeAt` (when the audio side last finished waiting for the
    // disk) as a block; answers whether it did. [disk-thread]
    bool timeOut(uint32_t now, uint32_t limitMs, uint32_t activeAt);

    // Finishes an open clip without ending its pass or a signal (the
    // instance goes away). [disk-thread], or once the disk thread has stopped
    void closeQuietly();

    void setClipsInEditor(uint32_t clips); // [any-thread]
    bool passOpen() const { return passOpen_; }     // [any-thread]
    bool limitHit() const { return limitHit_; }     // [any-thread]
    uint64_t clipNumber() const { return clipNumber_; } // [any-thread]
    bool failed() const { return failed_; }         // [any-thread]
    bool clipOpen() const { return clipOpen_; }     // [any-thread]
    // The paths of the clip files finished whole since the recorder was made. [any-thread], not audio
    std::vector<Util::String> finishedClips() const;

private:
    void beginPass();
    void endPass(const TimelineOffset::Snapshot& offset);
    bool openNextClip(const CaptureRecord& record);
    std::optional<Util::String> prepareFolder(bool reference, uint32_t passStartTick);
    Util::String freeClipPath(bool reference) const;
    void closeClip(const TimelineOffset::Snapshot& offset);
    std::optional<Util::String> finishClip(const TimelineOffset::Snapshot& offset);
    void failPass(Util::String reason);
    uint32_t clipLimit() const;

    const uint32_t host_;
    const Util::String folder_;
    TimelineOffset& offset_;
    Util::Signal<void()>& finished_;
    Util::Signal<void()>& failedSignal_;
    std::unique_ptr<Audio::Encode::WAV::Encoder> writer_;
    int64_t clipStart_ = 0;
    bool clipStartValid_ = false;
    uint32_t lastWrite_ = 0;
    bool writing_ = false;  // a block came since the last time-out
    bool logged_ = false;   // this pass's failure is in the log
    std::atomic<bool> passOpen_{false};
    std::atomic<bool> limitHit_{false};
    std::atomic<uint64_t> clipNumber_{0};
    std::atomic<bool> failed_{false};
    std::atomic<bool> clipOpen_{false};
    std::atomic<uint32_t> clipsInEditor_{0};
    std::atomic<bool> clipsInEditorValid_{false};
    mutable Platform::CriticalSection finishedLock_{"Clip Recorder Finished Clips"};
    std::vector<Util::String> finishedClips_;
};

} // namespace Shuttle
