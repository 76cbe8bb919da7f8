#include "platform/MessageBox.h"

#include "util/Log.h"

#include <atomic>

namespace Platform {

namespace {
class LoggedMessageBox final : public MessageBox {
public:
    void show(const Util::String& title, const Util::String& text, Icon) override
    {
        Util::Log::write(title + ": " + text);
    }
};
LoggedMessageBox loggedBox;
std::atomic<MessageBox*> installedBox{nullptr};
} // namespace

MessageBox& messageBox()
{
    MessageBox* b = installedBox.load();
    return b ? *b : loggedBox;
}

void installMessageBox(MessageBox* box) { installedBox.store(box); }

} // namespace Platform
