#pragma once
#include "util/Text.h"

namespace Platform {

// Opens a URL in the program the desktop associates with it: web pages and
// the manual's local pages in the user's browser. A file URL goes to the
// default handler of the file's type with the URL itself as its argument, so
// that an anchor after '#' survives; anything else, or a file without such a
// handler, goes to the shell's open. Tests install a recorder.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // True when the program was started; nothing waits for it. [any-thread], not audio
    virtual bool openUrl(const Util::String& url) = 0;
};

// The installed opener, else the system's (posix/GioUrlOpener.h).
UrlOpener& urlOpener();
void installUrlOpener(UrlOpener* opener); // nullptr puts the system's back; the caller keeps ownership

} // namespace Platform
