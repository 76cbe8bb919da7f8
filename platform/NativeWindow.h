#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

// Input and window events of a native window, in window pixels.
struct NativeInput {
    enum class Kind { Move, Drag, Down, Up, DoubleDown, RightDown, RightUp, Wheel, Leave, Key, Exposed, Closed };
    // Keys without text; the numbering is UI::KeyEvent::Code's.
    enum KeyCode : uint32_t { Text = 0, Backspace, Delete, Left, Right, Up, Down, Home, End, Return, Escape, Tab };

    Kind kind = Kind::Move;
    int x = 0;
    int y = 0;
    int width = 0;  // Exposed: the area to show again
    int height = 0;
    uint32_t modifiers = 0; // 1 shift, 2 control, 4 alt, 8 meta, 16 alt-graph
    int wheelDelta = 0;     // 120 a notch, positive away from the user
    uint32_t key = Text;
    std::string text;       // Key: the UTF-8 text typed
};

// The plug-in's native window: a child window inside the host's parent
// window that shows pixels drawn by the window framework and reports input.
// Everything runs on the user-interface thread that made it. [ui-thread]
class NativeWindow {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void nativeInput(const NativeInput& input) = 0;
    };

    // Makes a child window of `width` by `height` inside the native parent
    // window `parent` and shows it; null when it cannot be made (no display,
    // no such parent, an unsupported visual).
    static std::unique_ptr<NativeWindow> createChild(uint64_t parent, int width, int height, Listener& listener);

    virtual ~NativeWindow() = default;
    virtual uint64_t handle() const = 0;
    // Shows a part of an image (8-bit RGBA, premultiplied, `stride` bytes a
    // row, as large as the window) at the same place in the window.
    virtual void present(const uint8_t* pixels, int stride, int x, int y, int width, int height) = 0;
    // Hands every pending event to the listener.
    virtual void processEvents() = 0;
    // Optionally shows the window, then moves it to the top of its siblings
    // without moving or resizing it; takes the key focus when asked.
    virtual void raise(bool show, bool activate) = 0;
    virtual bool isVisible() const = 0;
};

// A top-level window with the role a host's editor frame has: tests and
// command-line hosts open one, hand its handle to the plug-in as the parent,
// send pointer events to the plug-in's child window and read back what the
// screen shows. [ui-thread]
class DesktopWindow {
public:
    enum class Pointer { Move, Press, Release };

    // Null when there is no display to open it on.
    static std::unique_ptr<DesktopWindow> create(int width, int height, const std::string& title);

    virtual ~DesktopWindow() = default;
    virtual uint64_t handle() const = 0;
    // The windows inside this one, bottom to top.
    virtual std::vector<uint64_t> childWindows() = 0;
    // Sends a pointer event of button 1 to a window (any client's), at a
    // point in that window, as the window system delivers it, with the
    // modifier keys of `modifiers` (NativeInput's bits) held.
    virtual bool sendPointer(uint64_t window, Pointer kind, int x, int y, uint32_t modifiers = 0) = 0;
    // Sends the press of one key, named as the window system names it ("a",
    // "Return", "Escape", "space"), to a window; false for an unknown name.
    virtual bool sendKey(uint64_t window, const std::string& keyName) = 0;
    // Reads a window's pixels as 8-bit RGBA, opaque; false when it is not viewable.
    virtual bool capture(uint64_t window, std::vector<uint8_t>& rgba, int& width, int& height) = 0;
    // Waits until the window system has handled every request so far.
    virtual void sync() = 0;
};

} // namespace Platform
