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
    virtual bool event(uint32_t a, uint32_t b, uint32_t c) = 0;
    virtual void notify(uint32_t a, uint32_t b) = 0;
    // Input events of the two forms; the answer goes back to the wrapper.
    virtual uint32_t inputEvent(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t flag) = 0;
    virtual uint32_t inputEvent2(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, bool useCurrentPoint) = 0;
    // Parameter indices of the controls under a point.
    virtual std::vector<uint32_t> hitTest(uint32_t x, uint32_t y) = 0;
    // Text carried by a property message for the editor.
    virtual void propertyText(const std::string& text) = 0;
    // Other property messages; true when taken.
    virtual bool propertyMessage(uint32_t id, uint32_t size, uint64_t data) = 0;
    // The host switched the run state (selector 20).
    virtual void runStateChanged(bool a, bool fromUserInterface, bool bWasZero) = 0;
};
