// Round trip of one enumerated request and its simple reply over loopback TCP:
// EditorRequest/ours is the plug-in's IPC::Client (send, wait for input, poll
// until the reply is read); EditorRequest/zmq is a bare libzmq REQ socket
// sending the same two frames and blocking for the reply. Both talk to the same
// kind of REP peer, and both sleep in the kernel while the reply travels.
#include <benchmark/benchmark.h>

#include "ipc/Client.h"
#include "ipc/Context.h"
#include "ReplyingPeer.h"

#include <chrono>
#include <thread>
#include <zmq.h>

namespace {

const char enumType[] = "IPC_EnumMessage";
const unsigned char enumBody[] = {0x93, 0x02, 0xCE, 0x33, 0x55, 0x46, 0x30, 0x01};

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
