#include "ipc/Socket.h"

#include "ipc/Context.h"
#include "ipc/Frame.h"
#include "ipc/ZmqError.h"

#include <cerrno>
#include <utility>
#include <zmq.h>

namespace IPC {

namespace {
int waitFlag(Socket::Wait wait) { return wait == Socket::Wait::No ? ZMQ_DONTWAIT : 0; }

// Runs a libzmq send or receive until it is not interrupted: true when done,
// false when it would block, ZmqError for anything else.
template <typename Call>
bool completeUnlessWouldBlock(Call call)
{
    for (;;) {
        if (call() >= 0)
            return true;
        const int error = zmq_errno();
        if (error == EAGAIN)
            return false;
        if (error != EINTR)
            throw ZmqError(error, __FILE__, __LINE__);
    }
}
} // namespace

Socket::Socket(std::shared_ptr<Context> context, int type) : context_(std::move(context))
{
    handle_ = zmq_socket(context_->handle(), type);
    if (!handle_)
        throw ZmqError::current(__FILE__, __LINE__);
}

Socket::~Socket() { close(); }

Socket::Socket(Socket&& other) noexcept
    : context_(std::move(other.context_)), handle_(std::exchange(other.handle_, nullptr))
{
}

Socket& Socket::operator=(Socket&& other) noexcept
{
    if (this != &other) {
        close();
        context_ = std::move(other.context_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void Socket::close() noexcept
{
    if (handle_)
        zmq_close(std::exchange(handle_, nullptr));
}

void Socket::setOption(int option, int value)
{
    if (zmq_setsockopt(handle_, option, &value, sizeof value) != 0)
        throw ZmqError::current(__FILE__, __LINE__);
}

void Socket::connect(const Util::String& endpoint)
{
    if (zmq_connect(handle_, endpoint.c_str()) != 0)
        throw ZmqError::current(__FILE__, __LINE__);
}

Util::String Socket::bind(const Util::String& endpoint)
{
    if (zmq_bind(handle_, endpoint.c_str()) != 0)
        throw ZmqError::current(__FILE__, __LINE__);
    char bound[256] = {};
    size_t size = sizeof bound;
    if (zmq_getsockopt(handle_, ZMQ_LAST_ENDPOINT, bound, &size) != 0)
        throw ZmqError::current(__FILE__, __LINE__);
    return bound;
}

bool Socket::send(std::span<const uint8_t> bytes, bool more, Wait wait)
{
    const int flags = waitFlag(wait) | (more ? ZMQ_SNDMORE : 0);
    return completeUnlessWouldBlock([&] { return zmq_send(handle_, bytes.data(), bytes.size(), flags); });
}

bool Socket::send(std::string_view text, bool more, Wait wait)
{
    return send({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, more, wait);
}

bool Socket::receive(Frame& frame, Wait wait)
{
    return completeUnlessWouldBlock([&] { return zmq_msg_recv(frame.message(), handle_, waitFlag(wait)); });
}

int Socket::intOption(int option) const
{
    int value = 0;
    size_t size = sizeof value;
    if (zmq_getsockopt(handle_, option, &value, &size) != 0)
        throw ZmqError::current(__FILE__, __LINE__);
    return value;
}

bool Socket::readable() const { return (intOption(ZMQ_EVENTS) & ZMQ_POLLIN) != 0; }

int Socket::descriptor() const { return intOption(ZMQ_FD); }

bool Socket::hasMore() const { return intOption(ZMQ_RCVMORE) != 0; }

void Socket::discardRest()
{
    Frame scratch;
    // The frames of one message arrive together, so waiting here never waits.
    while (hasMore())
        receive(scratch, Wait::Yes);
}

} // namespace IPC
