#include "io/DataStreamIO.h"

#include "platform/FileIO.h"

#include <utility>

namespace Util::Exception {

DataStreamIO::DataStreamIO(Util::String message, const char* sourceName, int sourceLine)
    : ::Exception::Base(std::move(message), sourceName, sourceLine), systemErrorCode_(Platform::lastErrorCode())
{
}

} // namespace Util::Exception
