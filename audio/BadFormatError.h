#pragma once
#include "util/BasicError.h"
#include "util/ErrorVariant.h"
#include "io/File.h"
#include "util/Result.h"

namespace Audio::Decode {

// A file the WAV decoder cannot read, or a request it refuses (category
// "Audio::Decode::BadFormatError"), with the file's path.
class BadFormatError : public Util::BasicError<BadFormatError> {
public:
    static constexpr uint32_t kCode = 1;
    BadFormatError(Util::String message, Util::String path);

    const Util::String& GetPath() const { return path_; }

private:
    Util::String path_;
};

using Error = Util::ErrorVariant<BadFormatError, Util::File::Error>;
using Status = Util::Result<void, Error>;
template <typename T>
using Outcome = Util::Result<T, Error>;

} // namespace Audio::Decode
