#pragma once
#include "core/PluginEditor.h"
#include "ui/MainPluginWindow.h"

#include <atomic>
#include <functional>
#include <memory>

namespace UI {

// Makes the plug-in's main window when the host opens the editor.
using MainWindowFactory = std::function<std::unique_ptr<MainPluginWindow>()>;

// The editor the plug-in instance holds while the host shows its window: it
// makes a fresh main window at every open (through the factory), opens it
// inside the host's parent window (off screen for parent 0), and passes the
// wrapper's idle calls, input events and texts on to it. [ui-thread]
class PluginEditorWindow final : public PluginEditor {
public:
    explicit PluginEditorWindow(MainWindowFactory factory);
    ~PluginEditorWindow() override;

    bool open(const OpenRequest& request) override;
    void close() override;
    uint8_t idle() override;
    uint64_t windowHandle() const override;
    bool event(uint32_t a, uint32_t b, uint32_t c) override;
    void notify(uint32_t a, uint32_t b) override;
    uint32_t inputEvent(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t flag) override;
    uint32_t inputEventWithPoint(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, bool useCurrentPoint) override;
    std::vector<uint32_t> hitTest(uint32_t x, uint32_t y) override;
    void propertyText(const std::string& text) override;
    bool propertyMessage(uint32_t id, uint32_t size, uint64_t data) override;
    // [any-thread]: recorded, and handed to the window at the next idle.
    void runStateChanged(bool running, bool fromUserInterface, bool holdClear) override;

    // The open window, or null.
    MainPluginWindow* window() const { return window_.get(); }

private:
    // The property messages of EntryProtocol::PropertyId that a command-line
    // host uses to watch and drive the window.
    bool savePicture(const Util::String& path);
    bool describeControl(void* record);

    static constexpr uint32_t pendingBit = 8;
    MainWindowFactory factory_;
    std::unique_ptr<MainPluginWindow> window_;
    std::atomic<uint32_t> runStateChange_{0};
};

// The editor of this plug-in. Without a factory the window is a plain
// MainPluginWindow that shows the layout "Layout_MainWindow".
std::unique_ptr<PluginEditor> createPluginEditor(MainWindowFactory factory = {});

} // namespace UI
