#include "audio/EncodeError.h"

#include <utility>

namespace Audio::Encode {

EncodeError::EncodeError(Util::String message) : BasicError("Audio::Encode::EncodeError", kCode, std::move(message)) {}

} // namespace Audio::Encode
