#pragma once
#include "util/BasicError.h"
#include "util/ErrorVariant.h"
#include "io/File.h"
#include "util/Result.h"

namespace Audio::Encode {

// A request the WAV encoder refuses (category "Audio::Encode::EncodeError").
class EncodeError : public Util::BasicError<EncodeError> {
public:
    static constexpr uint32_t kCode = 1;
    explicit EncodeError(Util::String message);
};

using Error = Util::ErrorVariant<EncodeError, Util::File::Error>;
using Status = Util::Result<void, Error>;
template <typename T>
using Outcome = Util::Result<T, Error>;

} // namespace Audio::Encode
