#include "ipc/SocketPair.h"

#include "ipc/Context.h"
#include "ipc/Frame.h"
#include "ipc/MessageCodec.h"
#include "ipc/ZmqError.h"
#include "platform/Clock.h"
#include "util/Log.h"

#include <chrono>
#include <utility>
#include <zmq.h>

namespace IPC {

namespace {

// Type names come from outside: show them printable and short in the log.
Util::String printable(std::string_view text)
{
    Util::String shown;
    for (const char c : text.substr(0, 64))
        shown += (c >= 0x20 && c < 0x7f) ? c : '?';
    return shown;
}

} // namespace

SocketPair::SocketPair(std::shared_ptr<Context> context, Endpoints endpoints)
    : socketLock_("IPC Socket Lock"), context_(std::move(context)), endpoints_(std::move(endpoints))
{
}

SocketPair::~SocketPair()
{
    Platform::ScopedLock lock(socketLock_);
    push_.reset();
    request_.reset();
    reply_.reset();
}

void SocketPair::createSockets()
{
    socketsReady_ = false;
    push_.reset();
    request_.reset();
    reply_.reset();
    auto make = [this](int type) {
        Socket socket(context_, type);
        socket.setOption(ZMQ_LINGER, lingerMs);
        // Without this, libzmq queues messages for a peer that never came and
        // a send to an absent editor would look delivered.
        if (type != ZMQ_REP)
            socket.setOption(ZMQ_IMMEDIATE, 1);
        return socket;
    };
    try {
        request_.emplace(make(ZMQ_REQ));
        reply_.emplace(make(ZMQ_REP));
        push_.emplace(make(ZMQ_PUSH));
        requestInput_ = InputWatch{request_->descriptor()};
        replyInput_ = InputWatch{reply_->descriptor()};
        socketsReady_ = true;
    } catch (const ZmqError& e) {
        Util::Log::write(Util::format("IPC: cannot create the editor sockets: %1", e.message()));
        push_.reset();
        request_.reset();
        reply_.reset();
    }
}

void SocketPair::connectSockets()
{
    createSockets();
    if (!socketsReady_)
        return;
    try {
        request_->connect(endpoints_.request);
        reply_->connect(endpoints_.reply);
        push_->connect(endpoints_.push);
    } catch (const ZmqError& e) {
        Util::Log::write(Util::format("IPC: cannot connect to the editor endpoints %1, %2, %3: %4",
                                      endpoints_.request, endpoints_.reply, endpoints_.push, e.message()));
        socketsReady_ = false;
    }
}

void SocketPair::abandonRequest()
{
    requestOutstanding_ = false;
    requestSentMs_ = Platform::tickCount();
    timerRunning_ = true;
}

bool SocketPair::socketsReady() const
{
    Platform::ScopedLock lock(socketLock_);
    return socketsReady_;
}

bool SocketPair::requestOutstanding() const
{
    Platform::ScopedLock lock(socketLock_);
    return requestOutstanding_;
}

bool SocketPair::sendEnumerated(Socket& socket, int32_t value)
{
    const auto body = MessageCodec::encodeEnumerated(value);
    try {
        if (!socket.send(MessageCodec::enumeratedType, true))
            return false;
        // Once its first frame is queued, libzmq takes the rest of a message.
        socket.send(body.bytes(), false);
        return true;
    } catch (const ZmqError&) {
        return false;
    }
}

bool SocketPair::sendWithoutReply(int32_t value)
{
    Platform::ScopedLock lock(socketLock_);
    return socketsReady_ && sendEnumerated(*push_, value);
}

bool SocketPair::sendRequest(int32_t value)
{
    Platform::ScopedLock lock(socketLock_);
    if (!socketsReady_ || requestOutstanding_)
        return false;
    requestInput_.used = true;
    if (!sendEnumerated(*request_, value))
        return false;
    requestOutstanding_ = true;
    requestSentMs_ = Platform::tickCount();
    timerRunning_ = true;
    return true;
}

bool SocketPair::waitForInput(int limitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        zmq_pollitem_t items[2] = {};
        {
            Platform::ScopedLock lock(socketLock_);
            if (!socketsReady_)
                return false;
            try {
                requestInput_.used = replyInput_.used = true;
                if (request_->readable() || reply_->readable())
                    return true;
                items[0] = {nullptr, request_->descriptor(), ZMQ_POLLIN, 0};
                items[1] = {nullptr, reply_->descriptor(), ZMQ_POLLIN, 0};
            } catch (const ZmqError&) {
                return false;
            }
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        // Only the descriptors are waited on, outside the lock, so senders are
        // not held up. They also wake for libzmq's own traffic (and a reconnect
        // meanwhile wakes them early): the sockets are asked again.
        zmq_poll(items, 2, long(left.count()));
    }
}

void SocketPair::beforePoll(const void*) {}

void SocketPair::poll(const void* callerArgument)
{
    PollEvents events;
    {
        Platform::ScopedLock lock(socketLock_);
        if (!socketsReady_)
            return;
        beforePoll(callerArgument);
        try {
            // The push socket never has input; the other two are asked for it
            // without waiting.
            lookForInput();
            if (hasInput(*request_, requestInput_))
                readReply(events);
            if (hasInput(*reply_, replyInput_))
                receiveRequest(events);
        } catch (const ZmqError& e) {
            Util::Log::write(Util::format("IPC: poll failed, trying again at the next one: %1", e.message()));
        }
    }
    // The editor's request is handled before it is answered; the handlers run
    // without the socket lock, so they may take their own locks and send.
    emit(events);
    Platform::ScopedLock lock(socketLock_);
    try {
        if (events.answer && socketsReady_)
            answerRequest(*events.answer);
        if (socketsReady_ && replyOverdue())
            reconnect();
    } catch (const ZmqError& e) {
        Util::Log::write(Util::format("IPC: poll failed, trying again at the next one: %1", e.message()));
    }
}

// libzmq makes a socket's descriptor readable when commands reach the socket,
// and any call on the socket may take them: a message whose command was taken
// by a send, or that stays queued behind the one received, leaves the
// descriptor quiet. So a socket is asked for its events after any use of it,
// and otherwise only when its descriptor says something came; with nothing to
// do a poll costs one look at two descriptors. & locked
void SocketPair::lookForInput()
{
    if (requestInput_.used && replyInput_.used)
        return;
    zmq_pollitem_t items[2] = {{nullptr, requestInput_.descriptor, ZMQ_POLLIN, 0},
                               {nullptr, replyInput_.descriptor, ZMQ_POLLIN, 0}};
    if (zmq_poll(items, 2, 0) < 0) {
        requestInput_.used = replyInput_.used = true; // interrupted: ask the sockets themselves
        return;
    }
    requestInput_.used = requestInput_.used || (items[0].revents & ZMQ_POLLIN) != 0;
    replyInput_.used = replyInput_.used || (items[1].revents & ZMQ_POLLIN) != 0;
}

// Asks the socket when it may have input; a socket found without any stays
// quiet until its descriptor speaks. & locked
bool SocketPair::hasInput(const Socket& socket, InputWatch& watch)
{
    if (!watch.used)
        return false;
    const bool readable = socket.readable();
    watch.used = readable; // the message about to be received uses the socket again
    return readable;
}

void SocketPair::readReply(PollEvents& events)
{
    requestOutstanding_ = false;
    Frame type;
    Frame body;
    if (!request_->receive(type) || !request_->hasMore() || !request_->receive(body))
        return;
    request_->discardRest();
    try {
        MessageCodec::decodeReply(body.bytes());
    } catch (const MessageCodec::MalformedBody& e) {
        Util::Log::write(Util::format("IPC: the editor's reply was not understood: %1", e.message()));
    }
    events.replyReceived = true;
}

void SocketPair::receiveRequest(PollEvents& events)
{
    Frame type;
    Frame body;
    if (!reply_->receive(type))
        return;
    bool handled = false;
    if (reply_->hasMore() && reply_->receive(body)) {
        reply_->discardRest();
        handled = dispatch(type.text(), body.bytes(), events);
    } else {
        Util::Log::write(Util::format("IPC: editor request \"%1\" without a body answered false",
                                      printable(type.text())));
    }
    events.answer = handled;
}

// The reply socket takes no next request until this one is answered.
void SocketPair::answerRequest(bool handled)
{
    replyInput_.used = true;
    const auto answer = MessageCodec::encodeReply(handled);
    if (reply_->send(MessageCodec::replyType, true))
        reply_->send(answer.bytes(), false);
}

bool SocketPair::dispatch(std::string_view type, std::span<const uint8_t> body, PollEvents& events)
{
    try {
        if (type == MessageCodec::enumeratedType) {
            events.messageReceived = true;
            const auto m = MessageCodec::decodeEnumerated(body);
            if (!MessageCodec::belongsToLink(m))
                throw MessageCodec::MalformedBody(Util::format("version %1, tag %2", m.version, m.tag));
            events.enumerated = m.value;
            return true;
        }
        if (type == MessageCodec::unsignedType) {
            events.messageReceived = true;
            const auto m = MessageCodec::decodeUnsigned(body);
            if (!MessageCodec::belongsToLink(m))
                throw MessageCodec::MalformedBody(Util::format("version %1, tag %2", m.version, m.tag));
            events.unsignedValue = {m.kind, m.value};
            return true;
        }
        Util::Log::write(Util::format("IPC: editor request of unknown type \"%1\" answered false", printable(type)));
    } catch (const MessageCodec::MalformedBody& e) {
        Util::Log::write(Util::format("IPC: editor request \"%1\" answered false: %2", printable(type), e.message()));
    }
    return false;
}

bool SocketPair::replyOverdue() const
{
    return requestOutstanding_ && timerRunning_ &&
           uint32_t(Platform::tickCount() - requestSentMs_) > replyTimeoutMs;
}

void SocketPair::emit(const PollEvents& events)
{
    if (events.replyReceived)
        replyReceived();
    if (events.messageReceived)
        messageReceived();
    if (events.enumerated)
        enumeratedMessage(*events.enumerated);
    if (events.unsignedValue)
        unsignedMessage(events.unsignedValue->first, events.unsignedValue->second);
}

} // namespace IPC
