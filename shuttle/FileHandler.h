#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/DecodeStream.h"
#include "audio/EncodeStream.h"
#include "audio/Format.h"
#include "shuttle/FileHandlerContext.h"
#include "util/Text.h"
#include "platform/SimpleTimer.h"
#include "util/Trackable.h"

namespace Shuttle {

// Turns the host's blocks into clip files in the shuttle folder and repaired
// clip files back into blocks. It decides where a clip ends by time-outs on
// the millisecond tick, run by tick() every 100 ms in the hosts that need them.
//
// write/read/closeCapture/closePlayback run on the audio thread (they open and
// close files, as the exchange with the editor demands); tick runs on the
// user-interface thread and acts only after 500 ms without audio calls. One
// lock guards the open writer and reader; the audio side meets it held only in
// that rare hand-over.
class FileHandler : public Trackable {
public:
    static constexpr uint32_t MaxClipsPerPass = 16;
    static constexpr uint32_t TimeOutMs = 500;
    static constexpr uint32_t TimerIntervalMs = 100;
    static constexpr size_t BextSize = 603;

    Util::Signal<void()> captureFinished;
    Util::Signal<void()> playbackFinished;

    // The shuttle folder comes from the editor's settings; `hostNumber` is the
    // shuttle host identification of the process.
    // With a timer queue, supported hosts run tick() every 100 ms from it.
    FileHandler(FileHandlerContext& context, uint32_t hostNumber, UI::TimerQueue* timers = nullptr);
    ~FileHandler() override;

    bool write(uint32_t frames, float* const* channels);  // [audio-thread]
    bool read(uint32_t frames, float* const* channels);   // [audio-thread]
    void closeCapture();                                  // [audio-thread]
    void closePlayback();                                 // [audio-thread]
    bool listRepaired(std::vector<Util::String>& files) const; // [any-thread]
    void setFormat(float sampleRate, uint32_t channelFormat); // [audio-thread]
    void setClipsInEditor(uint32_t clips);                // [ui-thread]
    void setTimelineOffset(int64_t offset);               // [audio-thread]
    void setRepairedList(std::vector<Util::String> files); // [ui-thread]
    // The 100 ms time-outs. [ui-thread]
    void tick();
    bool hasTimer() const; // only supported hosts run the time-outs

    bool referenceMode() const { return referenceMode_; }
    void setReferenceMode(bool on) { referenceMode_ = on; }
    bool limitHit() const { return limitHit_; }
    bool passOpen() const { return passOpen_; }
    uint64_t clipNumber() const { return clipNumber_; }
    bool captureOpen() const;
    bool playbackOpen() const;
    const Util::String& folder() const { return folder_; }
    std::vector<Util::String> repairedList() const;
    const Audio::Format& audioFormat() const { return format_; }

    // The shuttle folder: the editor's "Option/SessionDataFolder" (by default
    // "<roaming data>/Quillex/VU 6 Verov Edodod Session Data") and "/Relay".
    static Util::String shuttleFolder();

private:
    bool writeLocked(uint32_t frames, float* const* channels);
    bool closeMismatchedClip();
    bool openNextClipFile();
    bool prepareFolder();
    Util::String freeClipPath() const;
    std::vector<uint8_t> broadcastExtension();
    void endPass();
    bool openNextRepairedFile();
    void endPlayback();
    void closeCaptureLocked();
    void closePlaybackLocked(bool& ended);
    uint32_t clipLimit() const;

    FileHandlerContext& context_;
    const uint32_t host_;
    const Util::String folder_;
    std::atomic<bool> referenceMode_{false};
    std::atomic<uint32_t> clipsInEditor_{0};
    std::atomic<bool> clipsInEditorValid_{false};
    std::atomic<bool> limitHit_{false};
    int64_t clipStart_ = 0;
    bool clipStartValid_ = false;
    std::atomic<int64_t> timelineOffset_{0};
    std::atomic<bool> timelineOffsetValid_{false};
    Audio::Format format_;
    std::atomic<bool> passOpen_{false};
    std::atomic<uint64_t> clipNumber_{0};
    std::atomic<uint32_t> lastWrite_{0};
    std::atomic<bool> writing_{false};
    std::atomic<uint64_t> openCount_{0};
    std::atomic<uint32_t> lastRead_{0};
    std::atomic<bool> reading_{false};
    uint64_t readPosition_ = 0;
    uint64_t repairedLength_ = 0;

    mutable std::mutex filesMutex_; // the writer, the reader and the repaired list
    std::unique_ptr<Audio::Encode::Stream> writer_;
    std::unique_ptr<Audio::Decode::Stream> reader_;
    std::vector<Util::String> repaired_;
    std::unique_ptr<UI::SimpleTimer> timer_;
};

} // namespace Shuttle
