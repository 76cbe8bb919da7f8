#include "platform/Clipboard.h"
#include <atomic>
#include <mutex>

namespace Platform {
namespace {

// Before the product installs the desktop's clipboard, texts stay in the
// process, so a command's result can still be read back.
class ProcessClipboard final : public Clipboard {
public:
    void setText(const Util::String& utf8) override
    {
        std::lock_guard lock(mutex);
        content = utf8;
    }
    Util::String text() const override
    {
        std::lock_guard lock(mutex);
        return content;
    }

private:
    mutable std::mutex mutex;
    Util::String content;
};

ProcessClipboard processBoard;
std::atomic<Clipboard*> installedBoard{nullptr};
} // namespace

Clipboard& clipboard()
{
    Clipboard* board = installedBoard.load();
    return board ? *board : processBoard;
}

void installClipboard(Clipboard* board) { installedBoard.store(board); }

} // namespace Platform
