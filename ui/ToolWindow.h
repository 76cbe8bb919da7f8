#pragma once
#include "platform/NativeWindow.h"
#include "ui/Canvas.h"
#include "ui/HostWindow.h"

#include <memory>

namespace UI {

// A window of its own for a design tool (the parameter panel, the palette
// editor, the design aid): a titled top-level window on the desktop when
// there is a display, off screen otherwise, with a window tree of its own.
// Every open tool window is idled with the plug-in window (idleAll()).
// [ui-thread]
class ToolWindow {
public:
    // `hostName` names the native host window ("ParamPanel HostWindow").
    ToolWindow(const Util::String& hostName, const Util::String& title, int width, int height);
    virtual ~ToolWindow();
    ToolWindow(const ToolWindow&) = delete;
    ToolWindow& operator=(const ToolWindow&) = delete;

    const Util::String& hostName() const { return hostName_; }
    const Util::String& title() const { return title_; }
    Canvas& canvas() { return canvas_; }
    Native::HostWindow& hostWindow() { return host_; }
    bool isOnScreen() const { return host_.isOnScreen(); }

    // Opens the window (again), bringing it to the front.
    void open();
    // Native input, due timers, the tool's idle work, then drawing.
    void idle();
    // Idles every tool window of the process.
    static void idleAll();
    // The first tool window of the process whose host window has that name, or null.
    static ToolWindow* find(const Util::String& hostName);

protected:
    virtual void onIdle() {}

private:
    Util::String hostName_;
    Util::String title_;
    Canvas canvas_;
    Native::HostWindow host_;
    std::unique_ptr<Platform::DesktopWindow> desktop_;
};

} // namespace UI
