#include "platform/posix/X11MessageBox.h"

#include "platform/posix/X11Connection.h"
#include "platform/posix/X11MessageDialog.h"
#include "util/Log.h"

#include <atomic>
#include <cstdlib>
#include <utility>

namespace Platform {
namespace Posix {

X11MessageBox::X11MessageBox(MessageBoxFaceMaker makeFace) : makeFace_(std::move(makeFace)) {}

bool X11MessageBox::dialogsWanted()
{
    const char* mode = std::getenv(ModeVariable);
    return !mode || Util::String(mode) != LogOnly;
}

void X11MessageBox::show(const Util::String& title, const Util::String& text, Icon icon)
{
    Util::Log::write(title + ": " + text);
    const char* display = std::getenv("DISPLAY");
    if (!makeFace_ || !dialogsWanted() || !display || !*display)
        return;
    X11DisplayHandle connection(openX11Display());
    if (!connection) {
        Util::Log::write(Util::format("Can't open the X display %1 to show the notice", display));
        return;
    }
    if (auto dialog = X11MessageDialog::create(std::move(connection), title, makeFace_(text, icon)))
        dialog->run();
}

} // namespace Posix

namespace {

// Until the product installs the dialog, a notice is its log line.
class LogMessageBox final : public MessageBox {
public:
    void show(const Util::String& title, const Util::String& text, Icon) override { Util::Log::write(title + ": " + text); }
};

LogMessageBox systemBox;
std::atomic<MessageBox*> installedBox{nullptr};
} // namespace

MessageBox& messageBox()
{
    MessageBox* box = installedBox.load();
    return box ? *box : systemBox;
}

void installMessageBox(MessageBox* box) { installedBox.store(box); }

bool MessageBox::ask(const Util::String& title, const Util::String& text)
{
    Util::Log::write(title + ": " + text + " (answered yes: this notice cannot ask)");
    return true;
}

} // namespace Platform
