#pragma once
#include "ipc/SocketPair.h"

namespace IPC {

// One plug-in instance's link to the editor. Connects at construction;
// connecting succeeds whether or not the editor runs, and while it does not,
// every send answers false at once. A request the editor leaves unanswered
// for more than replyTimeoutMs is abandoned by the next poll, which makes a
// fresh set of sockets.
class Client : public SocketPair {
public:
    // [any-thread]. `context` is shared with the owner; it outlives the sockets.
    explicit Client(std::shared_ptr<Context> context, Endpoints endpoints = {});
    ~Client() override;

    // Closes the sockets (with their linger), makes and connects new ones and
    // forgets the outstanding request. [any-thread]
    void reconnect() override;
};

} // namespace IPC
