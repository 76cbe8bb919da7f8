#pragma once
#include "util/Text.h"

namespace Platform {

// Notices for the user. There is no modal dialog on this platform's plug-in
// side: the default presenter writes the notice to the log and returns at once,
// so no caller (audio thread included) ever blocks on it. Tests install a
// recorder.
class MessageBox {
public:
    enum class Icon { Information, Warning, Error };
    virtual ~MessageBox() = default;
    virtual void show(const Util::String& title, const Util::String& text, Icon icon) = 0; // [any-thread]
};

MessageBox& messageBox();
void installMessageBox(MessageBox* box); // nullptr puts the default back

} // namespace Platform
