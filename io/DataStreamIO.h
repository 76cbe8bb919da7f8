#pragma once
#include "util/ExceptionBase.h"

namespace Util::Exception {

// A failed stream operation: the message, the stream kind that failed as the
// source name ("bytestream" or "filestream"), the source line, and the
// operating system's last error code when it was thrown.
class DataStreamIO : public ::Exception::Base {
public:
    DataStreamIO(Util::String message, const char* sourceName, int sourceLine);

    const char* sourceName() const { return sourceFile(); }
    int systemErrorCode() const { return systemErrorCode_; }

private:
    int systemErrorCode_;
};

} // namespace Util::Exception
