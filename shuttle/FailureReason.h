#pragma once
#include "platform/FileIO.h"
#include "io/File.h"
#include "util/Text.h"

namespace Shuttle {

// The reason a log line gives for a failed file operation of the audio-file
// layer: the system's text for its error number when there is one, else the
// error's own message. [any-thread]
class FailureReason {
public:
    template <typename ErrorVariant>
    static Util::String of(const ErrorVariant& error)
    {
        if (error.template Is<Util::File::Error>()) {
            const auto& fileError = error.template As<Util::File::Error>();
            if (fileError.HasErrorNumber())
                return Platform::errorCodeText(fileError.GetErrorNumber());
        }
        return error.Message();
    }
};

} // namespace Shuttle
