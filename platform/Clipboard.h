#pragma once
#include "util/Text.h"

namespace Platform {

// The desktop's clipboard, for texts the user pastes elsewhere (diagnostic
// reports, parameter tables). setText() replaces the clipboard's content with
// UTF-8 text; the text stays available to other programs as long as the
// installed clipboard lives. Tests install a recorder.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const Util::String& utf8) = 0; // [ui-thread]
    virtual Util::String text() const = 0;              // [ui-thread] what setText() last put there
};

// The installed clipboard (the product installs the X11 one), else one that
// keeps the text inside this process.
Clipboard& clipboard();
void installClipboard(Clipboard* board); // nullptr puts the process-local one back; the caller keeps ownership

} // namespace Platform
