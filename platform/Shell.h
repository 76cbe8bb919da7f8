#pragma once
#include <cstdint>

#include "util/Text.h"

namespace Platform {

// Starting programs and opening documents, with the results of the desktop
// shell's convention: above 32 is success; 2 is "file not found", 3 "path not
// found", 5 "access denied", 31 "no program for this document".
class Shell {
public:
    static constexpr int32_t Started = 42;
    static constexpr int32_t FileNotFound = 2;
    static constexpr int32_t PathNotFound = 3;
    static constexpr int32_t AccessDenied = 5;
    static constexpr int32_t NoAssociation = 31;

    virtual ~Shell() = default;
    // Starts a program (detached, not waited for) or opens a document or URL with
    // the desktop's handler. `verb` is "open". [any-thread], not audio
    virtual int32_t open(const Util::String& verb, const Util::String& path, const Util::String& parameters) = 0;
    // Starts a program file (detached, not waited for) with one parameter
    // text; anything else, a document included, is refused. [any-thread], not audio
    virtual int32_t start(const Util::String& program, const Util::String& parameters)
    {
        return open("open", program, parameters);
    }
};

Shell& shell();
// Installs a shell (tests); nullptr puts the system's back. The caller keeps ownership.
void installShell(Shell* shell);

} // namespace Platform
