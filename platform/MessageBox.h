#pragma once
#include "util/Text.h"

namespace Platform {

// Notices for the user: a modal box without owner window, with the icon of
// its kind, a title, a text and an OK button. show() returns when the user
// has closed the box, so it is never called on the audio thread; callers that
// may run there hand the notice to a worker thread. Every notice is also
// written to the log. Tests install a recorder.
class MessageBox {
public:
    enum class Icon { Information, Warning, Error };
    virtual ~MessageBox() = default;
    virtual void show(const Util::String& title, const Util::String& text, Icon icon) = 0; // [any-thread], not audio
    // A yes-or-no question; true for yes. Where the box cannot ask (this
    // default), the question is logged and answered yes. [any-thread], not audio
    virtual bool ask(const Util::String& title, const Util::String& text);
};

// The installed box (the product installs the X11 dialog, posix/X11MessageBox.h),
// else one that only logs.
MessageBox& messageBox();
void installMessageBox(MessageBox* box); // nullptr puts the system's back; the caller keeps ownership

} // namespace Platform
