#include "util/ExceptionBase.h"

#include <utility>

namespace Exception {

Base::Base(Util::String message, const char* sourceFile, int sourceLine)
    : message_(std::move(message)), sourceFile_(sourceFile ? sourceFile : ""), sourceLine_(sourceLine)
{
}

} // namespace Exception
