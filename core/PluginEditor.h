#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the plug-in instance asks of its open editor window. The instance holds
// at most one; the window framework implements it. Every operation is called on
// the host's user-interface thread ([ui-thread]) with the UI critical section held,
// except runStateChanged, which may come from either side.
class PluginEditor {
public:
    struct OpenRequest {
        uint64_t parentWindow = 0; // the host's native parent window id (an X11 Window here)
        uint32_t width = 0;
        uint32_t height = 0;
        uint32_t words[3] = {0, 0, 0};
        bool recording = false;
    };

    virtual ~PluginEditor() = default;

    // Creates the native window inside the parent; false when it cannot be made.
    virtual bool open(const OpenRequest& request) = 0;
    // Saves the window state and destroys the native window.
    virtual void close() = 0;
    // Runs timers and pending drawing; answers a status byte.
    virtual uint8_t idle() = 0;
    virtual uint64_t windowHandle() const = 0;
    // Editor event with three words; true when handled.
    virtual bool event(uint32_t first, uint32_t second, uint32_t third) = 0;
    virtual void notify(uint32_t first, uint32_t second) = 0;
    // Input events of the two forms; the answer (1: handled) goes back to the
    // wrapper. In the first a move with the drag flag set is a drag; the second
    // carries a wheel step and may ask for the window's current pointer position
    // instead of its own.
    virtual uint32_t inputEvent(uint32_t kind, uint32_t x, uint32_t y, uint32_t modifiers, uint32_t drag) = 0;
    virtual uint32_t inputEventWithPoint(uint32_t kind, uint32_t x, uint32_t y, uint32_t modifiers, uint32_t wheel,
                                         bool useCurrentPoint) = 0;
    // Parameter indices of the controls under a point.
    virtual std::vector<uint32_t> hitTest(uint32_t x, uint32_t y) = 0;
    // Text carried by a property message for the editor.
    virtual void propertyText(const std::string& text) = 0;
    // Other property messages; true when taken.
    virtual bool propertyMessage(uint32_t id, uint32_t size, uint64_t data) = 0;
    // The host switched the run state (selector 20); `holdClear` only tells from
    // the user-interface side.
    virtual void runStateChanged(bool running, bool fromUserInterface, bool holdClear) = 0;
};
