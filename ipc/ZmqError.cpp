#include "ipc/ZmqError.h"

#include <zmq.h>

namespace IPC {

ZmqError ZmqError::current(const char* sourceFile, int sourceLine)
{
    return ZmqError(zmq_errno(), sourceFile, sourceLine);
}

ZmqError::ZmqError(int errorNumber, const char* sourceFile, int sourceLine)
    : Exception::Base(Util::format("ZeroMQ error %1: %2", errorNumber, zmq_strerror(errorNumber)),
                      sourceFile, sourceLine),
      errorNumber_(errorNumber)
{
}

} // namespace IPC
