#pragma once
#include "platform/Shell.h"

namespace Platform::Posix {

// Programs start through posix_spawn of "/bin/sh -c '"$0" "$@" &'", which
// returns at once and leaves the program reparented, so nothing waits for it
// and no zombie remains. Documents and URLs go to xdg-open the same way.
class PosixShell final : public Shell {
public:
    int32_t open(const Util::String& verb, const Util::String& path, const Util::String& parameters) override;
    int32_t start(const Util::String& program, const Util::String& parameters) override;
};

} // namespace Platform::Posix
