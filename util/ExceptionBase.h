#pragma once
#include "util/Text.h"

#include <exception>

namespace Exception {

// Root of the core's own exceptions. Caught at the edge of the operation that
// can recover; never thrown across the audio path's C boundary.
class Base : public std::exception {
public:
    explicit Base(Util::String message, const char* sourceFile = "", int sourceLine = 0);

    const char* what() const noexcept override { return message_.c_str(); }
    const Util::String& message() const { return message_; }
    const char* sourceFile() const { return sourceFile_; }
    int sourceLine() const { return sourceLine_; }

private:
    using String = Util::String;
    String message_;
    const char* sourceFile_;
    int sourceLine_;
};

} // namespace Exception
