#pragma once
#include "util/Text.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace IPC {

class Context;
class Frame;

// Owns one libzmq socket; closing it (at destruction) applies its linger.
// [any-thread], but a socket is used by one thread at a time: its owner
// serialises every call.
// "Would block" is an answer (false), every other libzmq failure a ZmqError.
class Socket {
public:
    enum class Wait { No, Yes };

    // Throws ZmqError when the socket cannot be made (for example a context that
    // is shutting down). `type` is a libzmq socket type such as ZMQ_REQ.
    Socket(std::shared_ptr<Context> context, int type);
    ~Socket();
    Socket(Socket&& other) noexcept;
    Socket& operator=(Socket&& other) noexcept;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    void setOption(int option, int value);
    void connect(const Util::String& endpoint);
    // Binds and answers the endpoint really bound (a "*" port resolved).
    Util::String bind(const Util::String& endpoint);

    // Queues one frame; `more` when further frames of the message follow.
    // Answers false when the frame cannot be queued without waiting.
    bool send(std::span<const uint8_t> bytes, bool more, Wait wait = Wait::No);
    bool send(std::string_view text, bool more, Wait wait = Wait::No);
    // Receives one frame into `frame`; false when none waits (Wait::No).
    bool receive(Frame& frame, Wait wait = Wait::No);
    // Whether a message waits to be received; never waits itself.
    bool readable() const;
    // The descriptor that becomes readable when readable() should be asked
    // again (libzmq's ZMQ_FD); for waiting outside the socket's owner lock.
    int descriptor() const;
    // Whether more frames of the message last received follow.
    bool hasMore() const;
    // Reads and drops the rest of the message last received.
    void discardRest();

    void* handle() const { return handle_; }

private:
    void close() noexcept;
    int intOption(int option) const;

    std::shared_ptr<Context> context_;
    void* handle_ = nullptr;
};

} // namespace IPC
