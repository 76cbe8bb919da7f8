// libFuzzer target: every input is a message from the editor, delivered to a
// plug-in's link through real sockets (in-process transport) and taken by its
// poll as the idle service takes it. The first byte chooses the route and the
// frame count: bit 0 clear, an editor request on the plug-in's reply socket;
// set, the editor's answer to a request the plug-in sent. The frames follow,
// each but the last as a length byte and that many bytes, the last taking the
// rest. Whatever arrives, the link must stay usable: an editor request is
// always answered with one well-formed reply that says whether a handler
// saw the message, and a request of the plug-in always ends, so the next one
// can go. Built with clang by tests/ipc/tests.cmake; the seed corpus is
// tests/ipc/corpus/editor-message.
#include "ipc/Client.h"
#include "ipc/Context.h"
#include "ipc/MessageCodec.h"
#include "util/Log.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>
#include <zmq.h>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int waitLimitMs = 5000;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void* boundSocket(void* context, int type, const char* endpoint)
{
    void* socket = zmq_socket(context, type);
    const int limit = waitLimitMs;
    require(socket && zmq_setsockopt(socket, ZMQ_RCVTIMEO, &limit, sizeof limit) == 0 &&
            zmq_setsockopt(socket, ZMQ_SNDTIMEO, &limit, sizeof limit) == 0 && zmq_bind(socket, endpoint) == 0);
    return socket;
}

void sendFrames(void* socket, const std::vector<Bytes>& frames)
{
    for (size_t i = 0; i < frames.size(); ++i)
        require(zmq_send(socket, frames[i].data(), frames[i].size(), i + 1 < frames.size() ? ZMQ_SNDMORE : 0) >= 0);
}

std::vector<Bytes> receiveFrames(void* socket)
{
    std::vector<Bytes> frames;
    int more = 1;
    while (more) {
        zmq_msg_t message;
        zmq_msg_init(&message);
        require(zmq_msg_recv(&message, socket, 0) >= 0); // the plug-in never answered
        const auto* data = static_cast<const uint8_t*>(zmq_msg_data(&message));
        frames.emplace_back(data, data + zmq_msg_size(&message));
        more = zmq_msg_more(&message);
        zmq_msg_close(&message);
    }
    return frames;
}

// The editor's side, bound before the plug-in connects (in-process endpoints
// need one context), and one plug-in link with its signals counted.
struct Link {
    std::shared_ptr<IPC::Context> context = IPC::Context::create();
    void* requests = boundSocket(context->handle(), ZMQ_ROUTER, "inproc://fuzz-plugin-requests");
    void* editorRequests = boundSocket(context->handle(), ZMQ_REQ, "inproc://fuzz-editor-requests");
    void* notices = boundSocket(context->handle(), ZMQ_PULL, "inproc://fuzz-notices");
    IPC::Client client{context, {"inproc://fuzz-plugin-requests", "inproc://fuzz-editor-requests",
                                 "inproc://fuzz-notices"}};
    int messages = 0;
    int handled = 0;
    int replies = 0;

    Link()
    {
        Util::Log::setEcho(false);
        client.messageReceived.connect([this] { ++messages; });
        client.enumeratedMessage.connect([this](int32_t) { ++handled; });
        client.unsignedMessage.connect([this](int32_t, uint32_t) { ++handled; });
        client.replyReceived.connect([this] { ++replies; });
    }

    // The context ends only once every socket in it is closed.
    ~Link()
    {
        for (void* socket : {requests, editorRequests, notices}) {
            const int linger = 0;
            zmq_setsockopt(socket, ZMQ_LINGER, &linger, sizeof linger);
            zmq_close(socket);
        }
    }

    void pollUntilInput()
    {
        require(client.waitForInput(waitLimitMs));
        client.poll();
    }
};

std::vector<Bytes> splitFrames(const uint8_t* data, size_t size, size_t count)
{
    std::vector<Bytes> frames;
    size_t at = 0;
    while (frames.size() + 1 < count) {
        const size_t length = at < size ? std::min<size_t>(data[at], size - at - 1) : 0;
        at = std::min(at + 1, size);
        frames.emplace_back(data + at, data + at + length);
        at += length;
    }
    frames.emplace_back(data + at, data + size);
    return frames;
}

bool knownType(const Bytes& frame)
{
    const std::string_view type(reinterpret_cast<const char*>(frame.data()), frame.size());
    return type == IPC::MessageCodec::enumeratedType || type == IPC::MessageCodec::unsignedType;
}

void editorRequest(Link& link, const std::vector<Bytes>& frames)
{
    const int messagesBefore = link.messages;
    const int handledBefore = link.handled;
    sendFrames(link.editorRequests, frames);
    link.pollUntilInput();
    const auto answer = receiveFrames(link.editorRequests);
    require(answer.size() == 2);
    const std::string_view type(reinterpret_cast<const char*>(answer[0].data()), answer[0].size());
    require(type == IPC::MessageCodec::replyType);
    const bool yes = IPC::MessageCodec::decodeReply(answer[1]);
    // Said yes exactly when one handler saw the message, and only a message of
    // a known type with a body counts as one.
    require(yes == (link.handled == handledBefore + 1));
    require(link.handled <= handledBefore + 1);
    require((link.messages != messagesBefore) == (frames.size() > 1 && knownType(frames[0])));
}

void editorReply(Link& link, const std::vector<Bytes>& frames)
{
    require(link.client.sendRequest(1));
    const auto request = receiveFrames(link.requests); // routing id, delimiter, type, body
    require(request.size() == 4);
    std::vector<Bytes> reply{request[0], Bytes{}};
    reply.insert(reply.end(), frames.begin(), frames.end());
    const int repliesBefore = link.replies;
    sendFrames(link.requests, reply);
    link.pollUntilInput();
    require(!link.client.requestOutstanding());
    require((link.replies == repliesBefore + 1) == (frames.size() > 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Link link;
    if (size == 0)
        return 0;
    const auto frames = splitFrames(data + 1, size - 1, (data[0] >> 1) % 4 + 1);
    if (data[0] & 1)
        editorReply(link, frames);
    else
        editorRequest(link, frames);
    return 0;
}
