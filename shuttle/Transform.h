#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "core/EntryProtocol.h"
#include "dsp/CommandPipe.h"
#include "dsp/ShuttleElement.h"
#include "ipc/Client.h"
#include "platform/CriticalSection.h"
#include "shuttle/EditorMessage.h"
#include "shuttle/EditorTasks.h"
#include "shuttle/FileHandler.h"
#include "shuttle/FileHandlerContext.h"
#include "shuttle/MainWindowActions.h"
#include "shuttle/TransformBase.h"
#include "platform/TimerQueue.h"
#include "util/Trackable.h"

namespace DSP {

// The product transform: makes one instance a shuttle between the host and the
// editor. On every block it decides from "Shuttle State", the host and the
// block's flag A whether the block is captured into a clip file, replaced by
// repaired audio or left alone; it turns the file handler's and the editor's
// events into state changes, messages and commands.
//
// The block operation takes no lock but a re-entry of the processing lock the
// entry already holds for the block, allocates nothing and never waits on
// another thread (the file handler's one wait aside, see FileHandler). The
// file handler's events arrive on its disk thread; the window notice of the
// offline formats is posted by the next idle call.
class Transform final : public TransformBase, public Trackable, public Shuttle::FileHandlerContext {
public:
    static constexpr uint32_t CapturePipeCapacity = 2000;
    static constexpr uint32_t TakeOverMs = 1024;
    static constexpr uint32_t RestartWindowMs = 500;
    // Transform.cpp checks at compile time that it names MaxClipsPerPass.
    static constexpr const char* LimitNotice =
        "TW supports a maximum of 16 files open at a time. Please select fewer tracks and try again.";
    static constexpr const char* RenderOrDiscardNotice =
        "Please render or discard your repaired audio before sending again.";

    // `endpoints` let tests put the editor elsewhere than its fixed ports.
    explicit Transform(Plugin& plugin, IPC::SocketPair::Endpoints endpoints = {});
    ~Transform() override;

    // TransformBase
    void pollLink() override;
    void refreshRepaired() override;
    void runStateChanged(bool running) override;
    void processingStopped() override;
    bool hostMessage(uint32_t word, uint32_t selector, uint32_t size, const void* data) override;
    void setFormat(float sampleRate, uint32_t channelFormat) override;
    void processBlock(uint32_t frames, float* const* channels) override;
    void idle() override;

    using State = ShuttleElement::State;

    // "Shuttle State", through the shuttle element's parameter 0. Setting it
    // is serialised between the threads that may (the user interface's and the
    // disk thread). [any-thread], not audio
    void setState(State state);
    State state() const; // [any-thread]

    void ensureLink();                    // [any-thread], not audio
    // WindowOpened without waiting, anything else as a request. [any-thread], not audio
    bool sendToEditor(Shuttle::EditorMessage message);
    bool hasLink() const;
    bool requestOutstanding() const;     // a request to the editor waits for its reply [any-thread]
    bool editorLink() const { return editorLink_; }

    Atomic::CommandPipe& commandPipe() { return pipe_; }
    Platform::CriticalSection& criticalSection() { return criticalSection_; }
    Shuttle::FileHandler& fileHandler() { return fileHandler_; }
    uint32_t repairedCount() const { return repairedCount_; }
    uint32_t hostNumber() const { return host_; }
    bool captureSuppressed() const { return captureSuppressed_; }

    // The main window registers while it lives. [ui-thread]
    void attachMainWindow(Shuttle::MainWindowActions* window);
    // Waits until the disk thread has caught up with every block and request
    // so far, then until the start-up key, launch and message work it queued
    // has run (tests, benchmarks, shutdown). [any-thread], not audio
    void drain();
    // The locks of the transform's other threads, for tests that hold them
    // while blocks flow.
    Platform::CriticalSection& linkLock() { return linkLock_; }
    Platform::CriticalSection& stateLock() { return stateLock_; }
    Shuttle::EditorTasks& editorTasks() { return editorTasks_; }

    // Shuttle::FileHandlerContext
    uint32_t channelCount() const override;
    Position transportPosition() const override;
    Util::ConfigFile& configurationStore() override;
    uint32_t shuttleState() const override { return state(); }
    void storeFlagLater(const char* key, bool value) override; // on the editor-task worker

private:
    void capture(State state, uint32_t frames, float* const* channels);
    void play(uint32_t frames, float* const* channels);
    void offlineFormatBlock(bool analysisPass, State state, uint32_t frames, float* const* channels);
    void setBlockState(State state); // [audio-thread] & processing lock
    State stateOnAudioSide() const;  // [audio-thread]
    void postRenderOrDiscardNotice();
    void onCaptureFinished();
    void onPlaybackFinished() { setState(State::Idle); }
    void onCaptureFailed()
    {
        captureFailedOnce_ = true;
        setState(State::Idle);
    }
    // Property message CaptureReport: the finished clips or why there are none. [ui-thread]
    bool reportCaptures(uint32_t size, const void* data);
    EntryProtocol::CaptureOutcome whyNothingWasCaptured() const;
    void onEnumerated(int32_t value);
    void onUnsigned(int32_t kind, uint32_t value);
    void postWindowAction(std::function<void(Shuttle::MainWindowActions&)> action); // & criticalSection_
    std::shared_ptr<IPC::Client> link() const;
    bool unsupportedHost() const;
    bool offlineFormat() const;

    UI::TimerQueue timers_;
    Shuttle::FileHandler fileHandler_;
    Platform::CriticalSection criticalSection_{"Shuttle Command Pipe Critical Section"};
    Atomic::CommandPipe pipe_;
    std::atomic<bool> captureSuppressed_{false};
    // What the blocks met, for the capture report: set once, never cleared.
    std::atomic<bool> captureFailedOnce_{false};
    std::atomic<bool> suppressedOnce_{false};
    std::atomic<bool> playedOnce_{false};
    std::atomic<bool> waitedForEditor_{false};
    std::atomic<bool> offlineSkipped_{false};
    std::atomic<bool> playbackNoticeSent_{false};
    std::atomic<bool> playbackNoticeDue_{false}; // raised by the block, posted by idle()
    std::atomic<uint32_t> repairedCount_{0};
    uint32_t lastStopMs_ = 0;
    bool lastStopValid_ = false;
    std::shared_ptr<IPC::Context> zmqContext_;
    IPC::SocketPair::Endpoints endpoints_;
    mutable Platform::CriticalSection linkLock_{"Shuttle Link Lock"};
    Platform::CriticalSection stateLock_{"Shuttle State Lock"};
    std::shared_ptr<IPC::Client> client_;
    std::atomic<bool> editorLink_{true};
    const uint32_t host_;
    std::atomic<Shuttle::MainWindowActions*> mainWindow_{nullptr};
    // The current shuttle element; a format change replaces it.
    std::atomic<std::shared_ptr<ShuttleElement>> shuttle_;
    // The same element for the block operation, which reads and sets it on
    // every block: the processing lock guards it, so no reference count is
    // touched there.
    ShuttleElement* blockShuttle_ = nullptr;
    Shuttle::EditorTasks editorTasks_;
};

} // namespace DSP
