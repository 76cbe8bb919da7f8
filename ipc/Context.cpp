#include "ipc/Context.h"

#include "ipc/ZmqError.h"

#include <cerrno>
#include <zmq.h>

namespace IPC {

std::shared_ptr<Context> Context::create()
{
    void* handle = zmq_ctx_new();
    if (!handle)
        throw ZmqError::current(__FILE__, __LINE__);
    return std::shared_ptr<Context>(new Context(handle));
}

Context::~Context()
{
    // Interrupted calls are retried: a context must end exactly once.
    while (zmq_ctx_term(handle_) != 0 && zmq_errno() == EINTR) {
    }
}

} // namespace IPC
