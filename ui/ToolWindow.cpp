#include "ui/ToolWindow.h"

#include <algorithm>
#include <vector>

namespace UI {

namespace {
std::vector<ToolWindow*>& openWindows()
{
    static std::vector<ToolWindow*> windows;
    return windows;
}
} // namespace

ToolWindow::ToolWindow(const Util::String& hostName, const Util::String& title, int width, int height)
    : hostName_(hostName), title_(title), canvas_(width, height, hostName), host_(canvas_)
{
    openWindows().push_back(this);
}

ToolWindow::~ToolWindow()
{
    std::erase(openWindows(), this);
    host_.close();
}

void ToolWindow::open()
{
    if (host_.isOpen()) {
        host_.raise(true, true);
        return;
    }
    // Without a display, or when the window system refuses, the tool stays off screen.
    desktop_ = Platform::DesktopWindow::create(canvas_.width(), canvas_.height(), title_);
    if (!desktop_ || !host_.open(desktop_->handle())) {
        desktop_.reset();
        host_.open(0);
    }
    canvas_.invalidate();
    host_.update();
}

void ToolWindow::idle()
{
    host_.processEvents();
    canvas_.timers().runDue();
    onIdle();
    host_.update();
}

ToolWindow* ToolWindow::find(const Util::String& hostName)
{
    for (ToolWindow* w : openWindows())
        if (w->hostName() == hostName)
            return w;
    return nullptr;
}

void ToolWindow::idleAll()
{
    const auto windows = openWindows(); // a tool may close another while idling
    for (ToolWindow* w : windows)
        if (std::find(openWindows().begin(), openWindows().end(), w) != openWindows().end())
            w->idle();
}

} // namespace UI
