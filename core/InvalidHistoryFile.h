#pragma once
#include "util/ExceptionBase.h"

namespace Exception {

// A history file that cannot be used: the message, where it was raised, and
// the platform's last error code at that moment.
class InvalidHistoryFile : public Base {
public:
    InvalidHistoryFile(Util::String message, const char* sourceFile, int sourceLine);
    int systemErrorCode() const { return systemErrorCode_; }

private:
    int systemErrorCode_;
};

} // namespace Exception
