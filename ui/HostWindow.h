#pragma once
#include "platform/NativeWindow.h"
#include "ui/Image.h"
#include "ui/Object.h"

#include <memory>

namespace UI {

class Canvas;
class KeyboardMessageHandler;

namespace Native {

// The native window of a window tree ("Main Window HostWindow"). The tree is
// drawn into an image of the canvas's size (the off-screen target); when the
// window is open inside a host's parent window, every drawn area is shown in
// the native child window, and the native input goes to the tree. Opened
// without a parent it stays off screen: tests and command-line hosts drive it
// through the same calls and read or save the image. [ui-thread]
class HostWindow : public Object, private Platform::NativeWindow::Listener {
public:
    explicit HostWindow(Canvas& canvas);
    ~HostWindow() override;

    // Opens inside the native parent window (0: off screen); false when the
    // native window cannot be made.
    bool open(uint64_t parentWindow);
    void close();
    bool isOpen() const { return open_; }
    bool isOnScreen() const { return native_ != nullptr; }
    uint64_t handle() const;

    // Optionally shows the native window, then brings it to the top without
    // moving it; activates it (key focus) when asked.
    void raise(bool show, bool activate);
    // Hands pending native input to the tree.
    void processEvents();
    // Draws what changed since the last update and shows it; returns the area
    // drawn (empty when nothing changed, in which case nothing is drawn).
    Rect update();

    const Image& image() const { return image_; }
    bool saveImage(const Util::String& path) const { return image_.savePng(path); }
    // Where unhandled keys go.
    void setKeyboardHandler(KeyboardMessageHandler* handler) { keys_ = handler; }

private:
    void nativeInput(const Platform::NativeInput& input) override;
    void show(const Rect& area);

    Canvas& canvas_;
    Image image_;
    std::unique_ptr<Platform::NativeWindow> native_;
    KeyboardMessageHandler* keys_ = nullptr;
    bool open_ = false;
    bool lost_ = false;
};

} // namespace Native
} // namespace UI
