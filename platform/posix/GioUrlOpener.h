#pragma once
#include <cstdint>

#include "platform/UrlOpener.h"

namespace Platform::Posix {

// Opens URLs as the desktop does. For a file URL, GIO finds the default
// handler of the file's type by the freedesktop.org rules (the user's and the
// system's mimeapps.list and .desktop files) and starts it with the URL; a
// handler whose program is missing does not count. (GIO gives a handler that
// takes URLs the local path of a plain file URL, and the URL itself when it
// has an anchor, which a path would lose.) Any other URL, or a file
// without a handler, goes to the shell's open (xdg-open, through
// Platform::shell()). Results follow the shell's convention, above 32 is
// success.
class GioUrlOpener final : public UrlOpener {
public:
    bool openUrl(const Util::String& url) override; // [any-thread], not audio

    // Starts the default handler of the file at `path` with `url`; NoAssociation
    // when there is none. [any-thread], not audio
    static int32_t openWithDefaultHandler(const Util::String& path, const Util::String& url);
};

} // namespace Platform::Posix
