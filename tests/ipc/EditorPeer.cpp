#include "EditorPeer.h"

#include "ipc/Frame.h"

#include <cstdio>
#include <thread>
#include <zmq.h>

namespace TestSupport {

Bytes bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::string hex(const Bytes& b)
{
    std::string out;
    char digits[4];
    for (const uint8_t v : b) {
        std::snprintf(digits, sizeof digits, out.empty() ? "%02x" : " %02x", v);
        out += digits;
    }
    return out;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

ClientEvents::ClientEvents(IPC::Client& client)
{
    client.enumeratedMessage.connect([this](int32_t v) { events.push_back("enum " + std::to_string(v)); });
    client.unsignedMessage.connect([this](int32_t k, uint32_t v) {
        events.push_back("uint " + std::to_string(k) + " " + std::to_string(v));
    });
    client.messageReceived.connect([this] { ++messages; });
    client.replyReceived.connect([this] { ++replies; });
}

EditorPeer::EditorPeer()
    : context_(IPC::Context::create()),
      requests_(context_, ZMQ_ROUTER),
      editorRequests_(context_, ZMQ_REQ),
      notices_(context_, ZMQ_PULL)
{
    for (auto* s : {&requests_, &editorRequests_, &notices_})
        s->setOption(ZMQ_LINGER, 0);
    endpoints_.request = requests_.bind("tcp://127.0.0.1:*");
    endpoints_.reply = editorRequests_.bind("tcp://127.0.0.1:*");
    endpoints_.push = notices_.bind("tcp://127.0.0.1:*");
}

Frames EditorPeer::receiveMessage(IPC::Socket& socket, std::chrono::milliseconds limit)
{
    zmq_pollitem_t item{socket.handle(), 0, ZMQ_POLLIN, 0};
    if (zmq_poll(&item, 1, long(limit.count())) <= 0)
        return {};
    Frames frames;
    IPC::Frame frame;
    do {
        socket.receive(frame, IPC::Socket::Wait::Yes);
        frames.emplace_back(frame.bytes().begin(), frame.bytes().end());
    } while (socket.hasMore());
    return frames;
}

EditorPeer::Request EditorPeer::nextRequest(std::chrono::milliseconds limit)
{
    Frames frames = receiveMessage(requests_, limit);
    if (frames.size() < 2)
        return {};
    // Envelope: routing id, empty delimiter.
    return {frames[0], Frames(frames.begin() + 2, frames.end())};
}

void EditorPeer::reply(const Bytes& routingId, const Frames& frames)
{
    requests_.send(routingId, true, IPC::Socket::Wait::Yes);
    requests_.send(Bytes{}, true, IPC::Socket::Wait::Yes);
    for (size_t i = 0; i < frames.size(); ++i)
        requests_.send(frames[i], i + 1 < frames.size(), IPC::Socket::Wait::Yes);
}

Frames EditorPeer::nextNotice(std::chrono::milliseconds limit) { return receiveMessage(notices_, limit); }

bool EditorPeer::sendRequest(const Frames& frames)
{
    zmq_pollitem_t item{editorRequests_.handle(), 0, ZMQ_POLLOUT, 0};
    if (zmq_poll(&item, 1, 5000) <= 0)
        return false;
    for (size_t i = 0; i < frames.size(); ++i)
        editorRequests_.send(frames[i], i + 1 < frames.size(), IPC::Socket::Wait::Yes);
    return true;
}

Frames EditorPeer::awaitReply(const std::function<void()>& pump)
{
    Frames answer;
    waitFor([&] {
        pump();
        answer = receiveMessage(editorRequests_, std::chrono::milliseconds(1));
        return !answer.empty();
    });
    return answer;
}

} // namespace TestSupport
