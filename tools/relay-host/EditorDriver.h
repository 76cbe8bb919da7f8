#pragma once
#include "wrapper/PluginInstance.h"

#include <memory>
#include <string>

namespace Platform {
class DesktopWindow;
}

namespace RelayHost {

// The plug-in's window as relay-host shows it: opened with selector 28 while
// the driver lives, off screen or inside a real top-level X11 window, idled
// as a host idles it, its controls pressed by name and its picture saved.
// [ui-thread]
class EditorDriver {
public:
    // Throws std::runtime_error when the window cannot be opened (on screen: no display).
    EditorDriver(Wrapper::PluginInstance& plugin, bool onScreen);
    ~EditorDriver(); // closes the window
    EditorDriver(const EditorDriver&) = delete;
    EditorDriver& operator=(const EditorDriver&) = delete;

    // Selector 28 code 5, after the window system's pending requests.
    void idle();
    // Presses and releases the middle of the named control: through the X
    // server on screen, through selector 29 off screen. Throws when the
    // window has no such control or it is hidden or disabled.
    void press(const std::string& control);
    // Saves what the window shows as a PNG file. Throws when it cannot.
    void savePicture(const std::string& path);

private:
    Wrapper::PluginInstance& plugin_;
    std::unique_ptr<Platform::DesktopWindow> frame_;
};

} // namespace RelayHost
