// Round trip of one enumerated request and its simple reply over loopback TCP:
// EditorRequest/ours is the plug-in's IPC::Client (send, wait for input, poll
// until the reply is read); EditorRequest/zmq is a bare libzmq REQ socket
// sending the same two frames and blocking for the reply. Both talk to the same
// kind of REP peer, and both sleep in the kernel while the reply travels.
#include <benchmark/benchmark.h>

#include "ipc/Client.h"
#include "ipc/Context.h"

#include <chrono>
#include <string>
#include <thread>
#include <zmq.h>

namespace {

const char enumType[] = "IPC_EnumMessage";
const unsigned char enumBody[] = {0x93, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x01};
const char replyType[] = "IPC_SimpleReply";
const unsigned char replyBody[] = {0x91, 0xC3};

// The editor's side: a REP socket on an ephemeral port that answers every
// request with a positive simple reply until its context shuts down.
class ReplyingPeer {
public:
    ReplyingPeer() : context_(zmq_ctx_new()), socket_(zmq_socket(context_, ZMQ_REP))
    {
        int linger = 0;
        zmq_setsockopt(socket_, ZMQ_LINGER, &linger, sizeof linger);
        zmq_bind(socket_, "tcp://127.0.0.1:*");
        char endpoint[256] = {};
        size_t size = sizeof endpoint;
        zmq_getsockopt(socket_, ZMQ_LAST_ENDPOINT, endpoint, &size);
        endpoint_ = endpoint;
        thread_ = std::thread([this] { serve(); });
    }
    ~ReplyingPeer()
    {
        zmq_ctx_shutdown(context_);
        thread_.join();
        zmq_close(socket_);
        zmq_ctx_term(context_);
    }
    const std::string& endpoint() const { return endpoint_; }

private:
    void serve()
    {
        char buffer[64];
        for (;;) {
            int more = 0;
            size_t size = sizeof more;
            do {
                if (zmq_recv(socket_, buffer, sizeof buffer, 0) < 0)
                    return;
                zmq_getsockopt(socket_, ZMQ_RCVMORE, &more, &size);
            } while (more);
            if (zmq_send(socket_, replyType, sizeof replyType - 1, ZMQ_SNDMORE) < 0 ||
                zmq_send(socket_, replyBody, sizeof replyBody, 0) < 0)
                return;
        }
    }

    void* context_;
    void* socket_;
    std::string endpoint_;
    std::thread thread_;
};

void EditorRequest_ours(benchmark::State& state)
{
    ReplyingPeer peer;
    IPC::SocketPair::Endpoints endpoints;
    endpoints.request = peer.endpoint();
    IPC::Client client(IPC::Context::create(), endpoints);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!client.sendRequest(1)) {
        if (std::chrono::steady_clock::now() > deadline) {
            state.SkipWithError("the peer never connected");
            return;
        }
        std::this_thread::yield();
    }
    while (client.requestOutstanding())
        client.poll();

    for (auto _ : state) {
        if (!client.sendRequest(1)) {
            state.SkipWithError("request refused");
            break;
        }
        while (client.requestOutstanding()) {
            client.waitForInput(1000);
            client.poll();
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void EditorRequest_zmq(benchmark::State& state)
{
    ReplyingPeer peer;
    void* context = zmq_ctx_new();
    void* socket = zmq_socket(context, ZMQ_REQ);
    int linger = 0;
    zmq_setsockopt(socket, ZMQ_LINGER, &linger, sizeof linger);
    zmq_connect(socket, peer.endpoint().c_str());
    char buffer[64];
    for (auto _ : state) {
        zmq_send(socket, enumType, sizeof enumType - 1, ZMQ_SNDMORE);
        zmq_send(socket, enumBody, sizeof enumBody, 0);
        zmq_recv(socket, buffer, sizeof buffer, 0);
        const int size = zmq_recv(socket, buffer, sizeof buffer, 0);
        benchmark::DoNotOptimize(size);
    }
    state.SetItemsProcessed(state.iterations());
    zmq_close(socket);
    zmq_ctx_term(context);
}

} // namespace

BENCHMARK(EditorRequest_ours)->Name("EditorRequest/ours")->UseRealTime();
BENCHMARK(EditorRequest_zmq)->Name("EditorRequest/zmq")->UseRealTime();
