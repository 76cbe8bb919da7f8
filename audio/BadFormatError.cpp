#include "audio/BadFormatError.h"

#include <utility>

namespace Audio::Decode {

BadFormatError::BadFormatError(Util::String message, Util::String path)
    : BasicError("Audio::Decode::BadFormatError", kCode, std::move(message)), path_(std::move(path))
{
    AddContext("path", path_);
}

} // namespace Audio::Decode
