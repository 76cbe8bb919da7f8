#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "audio/Format.h"
#include "dsp/MpscQueue.h"
#include "dsp/SpanRing.h"
#include "dsp/SpscQueue.h"
#include "shuttle/CaptureRecord.h"
#include "shuttle/ClipRecorder.h"
#include "shuttle/Silence.h"
#include "shuttle/DiskControl.h"
#include "shuttle/DiskOptions.h"
#include "shuttle/FileHandlerContext.h"
#include "platform/SimpleTimer.h"
#include "shuttle/PlaybackRecord.h"
#include "shuttle/RepairedPlayer.h"
#include "shuttle/TimelineOffset.h"
#include "util/Text.h"
#include "util/Thread.h"
#include "util/Trackable.h"

namespace Shuttle {

// Turns the host's blocks into clip files in the shuttle folder and repaired
// clip files back into blocks, the way a DAW records and plays: the audio
// thread never touches a file. It hands each captured block, with what it
// knew then (transport position, channel count, reference mode), to the
// shuttle's disk thread ("Shuttle Disk") through a preallocated lock-free
// ring; the disk thread cleans the folder, names, opens, writes and finishes
// the clip files (ClipRecorder). For playback the disk thread opens the
// repaired file ahead of time and reads it ahead into a second ring, from
// which the audio thread takes its blocks (RepairedPlayer). The capture ring
// is made and written through with the handler, as blocks may come at once;
// the playback ring only when the disk thread first reads a file ahead, since
// most instances never play one back. Either is written through before the
// audio side sees it, so it takes no page fault there.
//
// The audio side allocates nothing and takes no lock. It waits for the disk
// thread in one case only, in an offline render that runs faster than the
// disk: when the capture ring is full, when the read-ahead is empty while
// the file still has frames, or when a playback would start while a newly
// set list of repaired files is not yet taken (see waitForDisk).
//
// Where a clip ends is decided by time-outs on the millisecond tick: tick(),
// every 100 ms on the user-interface thread in the hosts that need it, asks
// the disk thread to apply them. The ends of a capture pass and of a playback,
// and a failed capture, are told by the signals below, on the disk thread.
// drain() waits until the disk thread has done everything asked of it before.
class FileHandler : public Trackable {
public:
    static constexpr uint32_t MaxClipsPerPass = ClipRecorder::MaxClipsPerPass;
    static constexpr uint32_t TimeOutMs = 500;
    static constexpr uint32_t TimerIntervalMs = 100;

    // Emitted on the disk thread.
    Util::Signal<void()> captureFinished; // a capture pass ended; its clips are complete
    Util::Signal<void()> playbackFinished;
    Util::Signal<void()> captureFailed;   // the pass's clip did not reach the disk; the pass is abandoned

    // The shuttle folder comes from the editor's settings; `hostNumber` is the
    // shuttle host identification of the process. With a timer queue,
    // supported hosts run tick() every 100 ms from it.
    FileHandler(FileHandlerContext& context, uint32_t hostNumber, UI::TimerQueue* timers = nullptr,
                DiskOptions options = {});
    ~FileHandler() override; // shutdown()

    // Captures one block; false when no format was set or the pass failed. [audio-thread]
    bool write(uint32_t frames, float* const* channels);
    // Plays one block of repaired audio into the channels; false when no
    // repaired file could be opened or it failed to read. [audio-thread]
    bool read(uint32_t frames, float* const* channels);
    void closeCapture();  // [any-thread]
    void closePlayback(); // [any-thread]
    bool listRepaired(std::vector<Util::String>& files) const; // [any-thread]
    void setFormat(float sampleRate, uint32_t channelFormat);  // [audio-thread]
    void setClipsInEditor(uint32_t clips);                     // [any-thread]
    void setTimelineOffset(int64_t offset);                    // [any-thread]
    void setRepairedList(std::vector<Util::String> files);     // [ui-thread]
    // The 100 ms time-outs. [ui-thread]
    void tick();
    bool hasTimer() const; // only supported hosts run the time-outs
    // Waits until the disk thread has handled every block and request made
    // before the call, signals included, and read ahead what it can.
    // [any-thread], neither the audio thread nor a slot of the signals above
    void drain();
    // Finishes what was asked, then stops the disk thread; an open clip is
    // finished without a signal. No signal comes after it returns. [ui-thread]
    void shutdown();

    bool referenceMode() const { return referenceMode_; }
    void setReferenceMode(bool on) { referenceMode_ = on; }
    // As the disk thread has got: drain() first for the state after given blocks.
    bool limitHit() const { return recorder_->limitHit(); }
    bool passOpen() const { return recorder_->passOpen(); }
    uint64_t clipNumber() const { return recorder_->clipNumber(); }
    bool passFailed() const { return recorder_->failed(); } // [any-thread]
    // The clip files finished whole so far; drain() first for those of given blocks. [any-thread], not audio
    std::vector<Util::String> finishedClips() const { return recorder_->finishedClips(); }
    // A clip is open, or blocks are on their way that open one, or a failed
    // pass still takes its blocks. [any-thread]
    bool captureOpen() const;
    bool playbackOpen() const { return player_->claimedOpen(); }
    // Whether the playback ring was made: the first read-ahead makes it. [disk-thread], or after drain()
    bool playbackRingMade() const { return playbackSamples_.HasStorage(); }
    const Util::String& folder() const { return folder_; }
    std::vector<Util::String> repairedList() const { return player_->list(); }
    Audio::Format audioFormat() const;
    // Held by other threads only briefly; tests hold it to show the audio side never waits on it.
    Platform::CriticalSection& repairedListLock() { return player_->listLock(); }

    // The shuttle folder: the editor's "Option/SessionDataFolder" (by default
    // "<roaming data>/Quillex/VU 6 Verov Edodod Session Data") and "/Relay".
    static Util::String shuttleFolder();

private:
    enum class Taken { All, Failed, Dropped };

    // Audio side.
    void pushBlock(CaptureRecord record, float* const* channels, uint32_t first, uint32_t frames);
    void pushRequest(CaptureRecord::Kind kind, uint32_t generation = 0);
    bool startPlaying();
    Taken takeFrames(uint32_t frames, float* const* channels);
    void skipFront();
    void waitForDisk(uint32_t seen);
    // Any thread.
    static DiskControl control(DiskControl::Kind kind);
    void post(DiskControl control);
    // Disk thread.
    void runDisk(Util::Thread& self);
    void reportProgress();
    bool serviceControls();
    enum class StopAt { UpTo, Control };
    bool handleRecords(uint64_t upTo, StopAt stop = StopAt::UpTo);
    void handle(const CaptureRecord& record);
    void apply(const DiskControl& control);
    void applyTimeOuts(uint32_t now);
    void rescanWhenReady();

    FileHandlerContext& context_;
    const uint32_t host_;
    const Util::String folder_;
    const DiskOptions options_;
    std::atomic<bool> referenceMode_{false};
    std::atomic<uint32_t> sampleRate_{0};
    std::atomic<uint32_t> formatChannels_{0};
    TimelineOffset timelineOffset_;

    // Between the threads.
    Atomic::SpscQueue<CaptureRecord> captureRecords_;
    Atomic::SpanRing<float> captureSamples_;
    Atomic::SpscQueue<PlaybackRecord> playbackRecords_;
    Atomic::SpanRing<float> playbackSamples_;
    Atomic::MpscQueue<DiskControl> controls_;
    std::atomic<uint32_t> diskProgress_{0};  // moves whenever the disk thread took or gave something
    std::atomic<uint64_t> drainTickets_{0};
    std::atomic<uint64_t> drained_{0};
    std::atomic<uint64_t> lastBlockRecord_{0}; // records pushed up to the last block
    std::atomic<uint32_t> lastRead_{0};
    std::atomic<bool> reading_{false};
    // The audio side waits for the disk (waitForDisk) and when it last stopped
    // waiting: a block held up by the disk is no silence of the host.
    std::atomic<bool> audioWaiting_{false};
    std::atomic<uint32_t> audioWaitEnded_{Silence::NoWait};

    // The audio side's own.
    struct Playing {
        bool active = false;
        uint32_t generation = 0;
        uint32_t channels = 0;
        uint64_t length = 0;
        uint64_t position = 0;
        uint32_t framesTakenOfFront = 0;
    } playing_;
    bool wantSent_ = false;
    bool wroteLast_ = false;
    uint64_t samplesSinceWake_ = 0;

    // The disk thread's own.
    std::unique_ptr<ClipRecorder> recorder_;
    std::unique_ptr<RepairedPlayer> player_;
    uint64_t answeredTicket_ = 0;

    Util::Thread disk_{"Shuttle Disk"};
    std::unique_ptr<UI::SimpleTimer> timer_;
};

} // namespace Shuttle
