#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "audio/WavDecoder.h"
#include "dsp/SpanRing.h"
#include "dsp/SpscQueue.h"
#include "platform/CriticalSection.h"
#include "shuttle/FileHandlerContext.h"
#include "shuttle/PlaybackRecord.h"
#include "util/Text.h"
#include "util/Trackable.h"

namespace Shuttle {

// The disk thread's half of playing back: keeps the list of repaired files
// still to play, opens the first one and reads it ahead into the playback
// queue, where the audio side takes it block by block.
//
// Each file opened gets a new generation and is announced (Start) before its
// frames. The audio side claims the file it starts to play; until then the
// file is only read ahead, and dropping it (a new list, a vanished folder)
// changes nothing the editor or the host could see. A file is opened ahead of
// time when a list is set and when the file before it was closed; otherwise
// when the audio side wants one, which is also when an empty list is filled
// from the shuttle folder.
//
// A file that cannot be opened or read, or whose channel count differs from
// the instance's, gets one log line naming it and the reason.
//
// All operations but the marked ones run on the disk thread.
class RepairedPlayer {
public:
    RepairedPlayer(FileHandlerContext& context, uint32_t hostNumber, Util::String folder,
                   Atomic::SpscQueue<PlaybackRecord>& records, Atomic::SpanRing<float>& samples,
                   Util::Signal<void()>& finished);
    RepairedPlayer(const RepairedPlayer&) = delete;
    RepairedPlayer& operator=(const RepairedPlayer&) = delete;

    // Forgets the open file and the list; `files` play from now on, first first.
    void setList(std::vector<Util::String> files);
    // The audio side needs a file: the one announced, or else the next one,
    // or else the answer None.
    void want();
    void claim(uint32_t generation);
    // The audio side gave the file up after a failed read: it is closed, and
    // stays in the list.
    void drop(uint32_t generation);
    // Closes the claimed file, deletes it from the folder and the list, and
    // tells of the end unless the host closes silently.
    void close();
    // The read time-out: closes the claimed file as close does, and always
    // tells of the end.
    void end();
    // While ready to write, in the hosts that check: when no repaired file is
    // left in the folder, the playback ends.
    void rescan();
    // Reads ahead as far as the queue has room; `pace` runs before each read
    // (tests slow the disk with it), `queued` after each chunk queued. Answers
    // whether anything was queued for the audio side: frames, an announcement,
    // a failure or an answer.
    bool readAhead(const std::function<void()>& pace, const std::function<void()>& queued);

    // A list for the disk thread to take at the next RepairedListSet. [any-thread]
    void offerList(std::vector<Util::String> files);
    // Sets the offered list, if one waits. Other threads keep seeing the offer
    // until the list it became is published, so it never seems to vanish. [disk]
    void applyOfferedList();
    // Whether an offered list waits for the disk thread; the read-ahead is of
    // the list before it until then. [any-thread, lock-free]
    bool offerPending() const
    {
        return taken_.load(std::memory_order_acquire) < offers_.load(std::memory_order_acquire);
    }

    uint32_t liveGeneration() const { return live_.load(std::memory_order_acquire); } // [any-thread]
    bool claimedOpen() const { return claimedOpen_; }                                // [any-thread]
    // The list as it stands, or as offered when an offer waits. [any-thread]
    std::vector<Util::String> list() const;
    Platform::CriticalSection& listLock() { return listLock_; }

    // Appends every repaired clip file of `folder`; false when none. [any-thread]
    static bool listRepaired(const Util::String& folder, std::vector<Util::String>& files);

private:
    struct Session {
        uint32_t generation = 0;
        std::unique_ptr<Audio::Decode::WAV::Decoder> decoder;
        uint64_t length = 0;   // frames
        uint32_t channels = 0;
        uint64_t queued = 0;   // frames read ahead
        bool announced = false;
        bool claimed = false;
        bool failed = false;
    };

    bool prepare(bool fillFromFolder);
    bool announce();
    void fill(const std::function<void()>& pace, const std::function<void()>& queued);
    bool makeRing();
    void failRead(Session& s, const Util::String& reason);
    void answerNone();
    void countOpen();
    void closeClaimed(bool& deleted);
    void endClaimed();
    void forgetSession();
    void publishList();
    void logOnce(const Util::String& path, const Util::String& line);

    FileHandlerContext& context_;
    const uint32_t host_;
    const Util::String folder_;
    Atomic::SpscQueue<PlaybackRecord>& records_;
    Atomic::SpanRing<float>& samples_;
    Util::Signal<void()>& finished_;
    std::vector<Util::String> list_;
    std::optional<Session> session_;
    uint32_t generation_ = 0;
    uint64_t openCount_ = 0;  // files opened for the audio side since the list was set
    bool wantPending_ = false;
    Util::String lastLogged_; // the file of the last log line, once per file and list
    std::atomic<uint32_t> live_{0};
    std::atomic<bool> claimedOpen_{false};
    mutable Platform::CriticalSection listLock_{"Shuttle Repaired List Lock"};
    std::vector<Util::String> published_; // list_ for other threads
    std::optional<std::vector<Util::String>> offered_;
    std::atomic<uint64_t> offers_{0}; // offers made, counted under listLock_
    std::atomic<uint64_t> taken_{0};  // the offer the list and read-ahead stand for
};

} // namespace Shuttle
