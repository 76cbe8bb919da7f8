#pragma once
#include "ipc/Socket.h"
#include "platform/CriticalSection.h"
#include "util/Text.h"
#include "util/Trackable.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>

namespace IPC {

class Context;

// The plug-in's three sockets to the editor: a request socket (REQ) for the
// plug-in's requests, a reply socket (REP) that answers the editor's requests,
// and a push socket (PUSH) for notices that need no reply.
//
// Every use of the sockets, from senders and from the poll, is serialised by
// one lock, held only for non-blocking socket calls. Signals are emitted by
// `poll` while that lock is released, so a slot may take its own locks and
// send again without ordering trouble against senders that hold theirs; the
// editor's request is answered after its slots have run.
class SocketPair : public Trackable {
public:
    // The endpoints the plug-in connects to; the editor binds all three.
    struct Endpoints {
        Util::String request = "tcp://127.0.0.1:23032";
        Util::String reply = "tcp://127.0.0.1:23023";
        Util::String push = "tcp://127.0.0.1:23123";
    };

    static constexpr int lingerMs = 2000;
    static constexpr uint32_t replyTimeoutMs = 10000;

    ~SocketPair() override;
    SocketPair(const SocketPair&) = delete;
    SocketPair& operator=(const SocketPair&) = delete;

    // Emitted on the thread that polls.
    Util::Signal<void()> messageReceived;  // an enumerated or unsigned message came in
    Util::Signal<void()> replyReceived;    // the editor answered our request
    Util::Signal<void(int32_t)> enumeratedMessage;          // (value)
    Util::Signal<void(int32_t, uint32_t)> unsignedMessage;  // (kind, value)

    // Sends an enumerated message on the push socket. False at once when no
    // editor takes it. [any-thread], never waits on the network.
    bool sendWithoutReply(int32_t value);
    // Sends an enumerated message on the request socket. False at once when no
    // editor takes it or a request is still outstanding. [any-thread], never
    // waits on the network.
    bool sendRequest(int32_t value);

    // Services the sockets without waiting: reads the editor's reply, takes
    // one editor request, emits the signals (so the request is handled), then
    // answers it, and abandons a request unanswered for more than
    // replyTimeoutMs by reconnecting. `callerArgument` goes to beforePoll.
    // [ui-thread] (the idle service)
    void poll(const void* callerArgument = nullptr);

    // Waits at most `limitMs` until the editor's reply or request has arrived,
    // so that a loop of its own can poll without spinning; false when none came.
    // Senders are not held up meanwhile. [ui-thread], never the audio thread
    // nor the idle service (it waits).
    bool waitForInput(int limitMs);

    // Re-creates the sockets; the base does nothing. [any-thread]
    virtual void reconnect() {}

    bool socketsReady() const;        // [any-thread]
    bool requestOutstanding() const;  // [any-thread]
    const Endpoints& endpoints() const { return endpoints_; }

protected:
    SocketPair(std::shared_ptr<Context> context, Endpoints endpoints);

    // Called by poll with its argument, under the socket lock; does nothing here.
    virtual void beforePoll(const void* callerArgument);

    Platform::CriticalSection& socketLock() { return socketLock_; }
    // Releases the old sockets (closing them with their linger), makes new ones
    // and connects them. Leaves the pair not ready on any failure. & locked
    void connectSockets();
    // Forgets the outstanding request and restarts the reply timer. & locked
    void abandonRequest();

private:
    struct PollEvents {
        bool replyReceived = false;
        bool messageReceived = false;
        std::optional<int32_t> enumerated;
        std::optional<std::pair<int32_t, uint32_t>> unsignedValue;
        std::optional<bool> answer; // an editor request came in; answer it with this
    };

    // A socket's descriptor, and whether the socket was used since it was last
    // found without input.
    struct InputWatch {
        int descriptor = -1;
        bool used = true;
    };

    void createSockets();
    void lookForInput();
    static bool hasInput(const Socket& socket, InputWatch& watch);
    bool sendEnumerated(Socket& socket, int32_t value);
    void readReply(PollEvents& events);
    void receiveRequest(PollEvents& events);
    void answerRequest(bool handled);
    bool dispatch(std::string_view type, std::span<const uint8_t> body, PollEvents& events);
    bool replyOverdue() const;
    void emit(const PollEvents& events);

    mutable Platform::CriticalSection socketLock_;
    std::shared_ptr<Context> context_;
    std::optional<Socket> push_;
    std::optional<Socket> request_;
    std::optional<Socket> reply_;
    InputWatch requestInput_;
    InputWatch replyInput_;
    Endpoints endpoints_;
    uint32_t requestSentMs_ = 0;
    bool timerRunning_ = false;
    bool requestOutstanding_ = false;
    bool socketsReady_ = false;
};

} // namespace IPC
