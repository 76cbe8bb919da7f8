#pragma once
#include <memory>

namespace IPC {

// Owns one libzmq context and its I/O thread. Shared by the sockets made in it;
// the context ends when the last holder lets go, after every socket is closed.
class Context {
public:
    // Throws ZmqError when libzmq cannot make a context. [any-thread]
    // Destruction waits for the sockets' linger, so not on the audio thread.
    static std::shared_ptr<Context> create();

    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    void* handle() const { return handle_; }

private:
    explicit Context(void* handle) : handle_(handle) {}
    void* handle_;
};

} // namespace IPC
