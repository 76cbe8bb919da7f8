#pragma once
#include <zmq.h>

#include <cstdint>
#include <span>
#include <string_view>

namespace IPC {

// One received frame of a multipart message, owned until the next receive into
// it or its destruction. Small frames live inside the object (no heap).
// [any-thread], used by one thread at a time.
class Frame {
public:
    Frame();
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    std::span<const uint8_t> bytes() const;
    std::string_view text() const;

    zmq_msg_t* message() { return &message_; }

private:
    zmq_msg_t message_;
};

} // namespace IPC
