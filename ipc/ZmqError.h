#pragma once
#include "util/ExceptionBase.h"

namespace IPC {

// A failure reported by libzmq, with its error number and libzmq's own text.
class ZmqError : public Exception::Base {
public:
    // Takes the calling thread's current libzmq error. [any-thread]
    static ZmqError current(const char* sourceFile = "", int sourceLine = 0);

    ZmqError(int errorNumber, const char* sourceFile = "", int sourceLine = 0);
    int errorNumber() const { return errorNumber_; }

private:
    int errorNumber_;
};

} // namespace IPC
