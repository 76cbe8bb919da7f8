#include "ReplyingPeer.h"

#include <zmq.h>

namespace {
const char replyType[] = "IPC_SimpleReply";
const unsigned char replyBody[] = {0x91, 0xC3};
} // namespace

ReplyingPeer::ReplyingPeer(const std::string& endpoint)
    : context_(zmq_ctx_new()), socket_(zmq_socket(context_, ZMQ_REP))
{
    int linger = 0;
    zmq_setsockopt(socket_, ZMQ_LINGER, &linger, sizeof linger);
    bound_ = zmq_bind(socket_, endpoint.c_str()) == 0;
    char last[256] = {};
    size_t size = sizeof last;
    zmq_getsockopt(socket_, ZMQ_LAST_ENDPOINT, last, &size);
    endpoint_ = last;
    thread_ = std::thread([this] { serve(); });
}

ReplyingPeer::~ReplyingPeer()
{
    zmq_ctx_shutdown(context_);
    thread_.join();
    zmq_close(socket_);
    zmq_ctx_term(context_);
}

void ReplyingPeer::serve()
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
        ++answered_;
    }
}
