#pragma once
#include "ui/Canvas.h"
#include "core/ConsoleCommandManager.h"
#include "ui/HostWindow.h"
#include "ui/KeyboardMessageHandler.h"
#include "ui/Object.h"
#include "ui/PluginWrapperMixin.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace UI {

class CommandPrompt;
class FrameWindow;
class PulseOverlayTimer;

// The top-level plug-in window: it owns the canvas with the frame window
// "MainPluginWindow Frame", the pulse overlay timer window "MainPluginWindow
// Pulse Overlay Timer" and the wrapper header, and the native host window
// ("Main Window HostWindow"). The plug-in core opens it inside the host's
// parent window, idles it, hands it input and closes it; subclasses build
// their windows in buildChildren, which runs once, at the first open.
//
// With the instance's console attached, a left press (single or double) with
// both console modifiers held (bits 8 and 16: Super and AltGr on X11) in the
// square from (0,0) to (20,20) reaches no control: it opens the console
// prompt, whose line the console runs.
// Everything here runs on the user-interface thread. [ui-thread]
class MainPluginWindow : public Object,
                         public KeyboardMessageHandler,
                         public ConsoleCommand::Delegate,
                         protected PluginWrapperMixin {
public:
    static constexpr int defaultWidth = 470;
    static constexpr int defaultHeight = 276;
    static constexpr uint32_t ConsoleModifiers = MetaModifier | AltGraphModifier;
    static constexpr int ConsoleSquare = 20;

    // `layoutName` is the canvas's layout, applied by the default buildChildren.
    explicit MainPluginWindow(const Util::String& layoutName = "Layout_MainWindow", int width = defaultWidth,
                              int height = defaultHeight);
    ~MainPluginWindow() override;

    Canvas& canvas() { return canvas_; }
    Native::HostWindow& hostWindow() { return host_; }
    FrameWindow& frameWindow() const { return *frame_; }
    PulseOverlayTimer& pulseOverlayTimer() const { return *pulse_; }
    using PluginWrapperMixin::wrapperHelpButton;

    // Opens inside the host's native parent window (0: off screen), building
    // the children first when this is the first open; false when the native
    // window cannot be made.
    bool open(uint64_t parentWindow);
    // Saves the window state, then closes the native window.
    void close();
    bool isOpen() const { return host_.isOpen(); }
    // Native input, due timers, the window's idle work, then drawing of what
    // changed. Answers 0.
    uint8_t idle();
    // What the last idle call drew, in canvas pixels; empty when nothing changed.
    const Rect& lastDrawn() const { return lastDrawn_; }
    uint64_t windowHandle() const { return host_.handle(); }
    // Input in canvas pixels from the wrapper; true when a window used it. The
    // result is drawn at once.
    bool input(const InputEvent& event);
    // The pointer's last position in the window.
    Point pointer() { return canvas_.tree().pointer(); }
    // The host parameters of the controls under a point.
    std::vector<uint32_t> hitTest(Point canvasPoint);
    // Shows the native window (optionally) and brings it to the front (optionally active).
    void raiseNativeWindow(bool show, bool activate) { host_.raise(show, activate); }

    // The console whose prompt the window opens; null: none.
    void setConsole(ConsoleCommand::Manager* console) { console_ = console; }
    // The prompt, once opened; null before.
    CommandPrompt* prompt() const { return prompt_; }

    // The layout step of the build: applies the canvas's layout.
    bool applyLayout();
    // Text handed to the window through the wrapper's property message.
    virtual void propertyText(const Util::String& /*text*/) {}
    // The host switched its run state.
    virtual void runStateChanged(bool /*running*/, bool /*fromUserInterface*/, bool /*holdClear*/) {}

    bool handleKey(const KeyEvent& /*key*/) override { return false; }
    void consoleCommand(const Util::String& /*line*/) override {}

protected:
    // Builds the window's children; the default applies the canvas's layout.
    virtual void buildChildren();
    // Runs before the native window closes.
    virtual void saveWindowState() {}
    // Runs at every idle call, after the due timers and before drawing.
    virtual void onIdle() {}

private:
    bool opensPrompt(const InputEvent& event);

    Canvas canvas_;
    Native::HostWindow host_;
    FrameWindow* frame_;
    PulseOverlayTimer* pulse_;
    bool built_ = false;
    Rect lastDrawn_;
    ConsoleCommand::Manager* console_ = nullptr;
    CommandPrompt* prompt_ = nullptr;
};

} // namespace UI
