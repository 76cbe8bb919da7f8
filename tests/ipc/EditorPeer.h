#pragma once
#include "ipc/Client.h"
#include "ipc/Context.h"
#include "ipc/Socket.h"
#include "ipc/SocketPair.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

using Bytes = std::vector<uint8_t>;
using Frames = std::vector<Bytes>;

Bytes bytes(std::string_view text);
std::string hex(const Bytes& b);

// Polls `done` until it answers true or `limit` of real time passed. For waits
// on the network only; time rules are driven with the fake clock.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5));

// Everything a client told its owner, in order.
struct ClientEvents {
    explicit ClientEvents(IPC::Client& client);
    std::vector<std::string> events; // "enum <value>", "uint <kind> <value>"
    int messages = 0;
    int replies = 0;
};

// The editor's side of the link on ephemeral loopback ports, built on raw
// libzmq sockets: a ROUTER where the plug-in's requests arrive (so a test sees
// which connection sent them and may leave them unanswered), a REQ that sends
// editor requests, and a PULL for the plug-in's notices.
class EditorPeer {
public:
    EditorPeer();

    const IPC::SocketPair::Endpoints& endpoints() const { return endpoints_; }

    struct Request {
        Bytes routingId;
        Frames frames; // after the envelope
    };
    // Next plug-in request, or an empty routing id when none came in time.
    Request nextRequest(std::chrono::milliseconds limit = std::chrono::seconds(5));
    void reply(const Bytes& routingId, const Frames& frames);

    // Next plug-in notice on the push socket; empty when none came in time.
    Frames nextNotice(std::chrono::milliseconds limit = std::chrono::seconds(5));

    // Sends an editor request once a plug-in is connected; false when none
    // connected in time.
    bool sendRequest(const Frames& frames);
    // Waits for the plug-in's answer, calling `pump` (the plug-in's poll) meanwhile.
    Frames awaitReply(const std::function<void()>& pump);

private:
    Frames receiveMessage(IPC::Socket& socket, std::chrono::milliseconds limit);

    std::shared_ptr<IPC::Context> context_;
    IPC::Socket requests_;
    IPC::Socket editorRequests_;
    IPC::Socket notices_;
    IPC::SocketPair::Endpoints endpoints_;
};

} // namespace TestSupport
