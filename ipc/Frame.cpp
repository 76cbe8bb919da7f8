#include "ipc/Frame.h"

namespace IPC {

Frame::Frame() { zmq_msg_init(&message_); }

Frame::~Frame() { zmq_msg_close(&message_); }

std::span<const uint8_t> Frame::bytes() const
{
    auto* message = const_cast<zmq_msg_t*>(&message_);
    return {static_cast<const uint8_t*>(zmq_msg_data(message)), zmq_msg_size(message)};
}

std::string_view Frame::text() const
{
    const auto b = bytes();
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

} // namespace IPC
