#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "core/CoreRecords.h"
#include "core/PluginEditor.h"

// The instance's editor window while the host shows it: opening a fresh one
// (from the factory function) inside the host's parent window, closing it, and
// handing it the wrapper's editor calls. Without an open editor every call
// answers as the entry protocol says. [ui-thread] with the UI critical section
// held, except runStateChanged ([any-thread]).
class EditorForwarding {
public:
    using MakeEditor = std::function<std::unique_ptr<PluginEditor>()>;

    explicit EditorForwarding(MakeEditor makeEditor) : makeEditor_(std::move(makeEditor)) {}
    ~EditorForwarding();
    EditorForwarding(const EditorForwarding&) = delete;
    EditorForwarding& operator=(const EditorForwarding&) = delete;

    // Closes an open editor first; EditorFailed when none can be made or opened.
    int32_t open(const PluginEditor::OpenRequest& request);
    void close();
    PluginEditor* editor() const { return editor_.get(); }

    uint8_t idle(); // 1 without an editor
    uint64_t windowHandle() const; // 0 without an editor
    // Writes the index and the found word only when exactly one control lies under the point.
    void hitTest(uint32_t x, uint32_t y, uint32_t& index, uint32_t& found);
    void notify(uint32_t first, uint32_t second);
    bool event(uint32_t first, uint32_t second, uint32_t third);
    void inputEvent(CoreRecords::EditorEvent& event);
    void inputEventWithPoint(CoreRecords::EditorEvent& event);
    // EditorFailed without an editor.
    int32_t showText(const Util::String& text);
    // Whether the open editor took a property message.
    bool takesPropertyMessage(uint32_t id, uint32_t size, uint64_t data);
    void runStateChanged(bool running, bool fromUserInterface, bool holdClear);

private:
    MakeEditor makeEditor_;
    std::unique_ptr<PluginEditor> editor_;
};
