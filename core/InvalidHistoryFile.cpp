#include "core/InvalidHistoryFile.h"

#include "platform/FileIO.h"

#include <utility>

namespace Exception {

InvalidHistoryFile::InvalidHistoryFile(Util::String message, const char* sourceFile, int sourceLine)
    : Base(std::move(message), sourceFile, sourceLine), systemErrorCode_(Platform::lastErrorCode())
{
}

} // namespace Exception
