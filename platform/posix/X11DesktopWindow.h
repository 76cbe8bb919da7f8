#pragma once
#include "platform/NativeWindow.h"

#include <X11/Xlib.h>

namespace Platform {

// A top-level X11 window on a display connection of its own (see DesktopWindow).
class X11DesktopWindow final : public DesktopWindow {
public:
    X11DesktopWindow(Display* display, ::Window window);
    ~X11DesktopWindow() override;

    uint64_t handle() const override { return window_; }
    std::vector<uint64_t> childWindows() override;
    bool sendPointer(uint64_t window, Pointer kind, int x, int y, uint32_t modifiers = 0) override;
    bool sendKey(uint64_t window, const std::string& keyName) override;
    bool capture(uint64_t window, std::vector<uint8_t>& rgba, int& width, int& height) override;
    void sync() override;

private:
    Display* display_;
    ::Window window_;
};

} // namespace Platform
