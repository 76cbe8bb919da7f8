#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/EntryProtocol.h"
#include "wrapper/HostCallbacks.h"

namespace Wrapper {

// The host's transport for one block.
struct Transport {
    double samplePosition = 0.0;
    bool playing = false;
};

// One plug-in instance as the wrapper holds it between selectors 1 and 7: the
// records of the entry protocol built byte by byte, each call with the lock
// index of the thread it comes from. The entry is the library's
// PluginCoreCallback (or anything of its shape); the host callbacks answer the
// core's reverse calls and must outlive the instance.
class PluginInstance {
public:
    using Selector = EntryProtocol::Selector;
    static constexpr uint32_t AudioThread = EntryProtocol::ProcessingLockIndex;
    static constexpr uint32_t UiThread = EntryProtocol::UserInterfaceLockIndex;
    // Told of every call: selector, lock index, status (tracing tools).
    using CallObserver = std::function<void(uint32_t selector, uint32_t lockIndex, int32_t status)>;

    PluginInstance(EntryProtocol::Callback entry, HostCallbacks& host, std::string name = "Relay 1");
    ~PluginInstance(); // destroys the instance when there is one
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // Selector 0, with this host's context block: the plug-in information record.
    // Throws std::runtime_error when the core refuses. [any-thread]
    std::vector<uint8_t> information() const;

    // Selector 1. Throws std::runtime_error with the status when no instance comes back. [ui-thread]
    void create(float sampleRate, uint32_t channelConfiguration, bool recording = false);
    // Selector 7; nothing without an instance. [ui-thread]
    void destroy();
    bool created() const { return instance_ != nullptr; }
    void* handle() const { return instance_; }

    // The calls below take the lock index of the thread they come from
    // (AudioThread or UiThread): [any-thread], as the core's selector allows.
    int32_t activate(uint32_t lockIndex = UiThread);                                  // 5
    int32_t deactivate(uint32_t lockIndex = UiThread);                                // 6
    int32_t switchRunState(bool running, bool hold, uint32_t lockIndex = AudioThread); // 20
    int32_t processingStopped(uint32_t lockIndex = AudioThread);                      // 26
    int32_t idle();                                                                    // 39 [ui-thread]
    int32_t setFormat(float sampleRate, uint32_t channelConfiguration, uint32_t lockIndex = UiThread); // 17
    // Selector 18: status word 0 (the latency in frames) or 1; 0 when the core refuses.
    uint32_t statusWord(uint32_t word);
    int32_t propertyMessage(uint32_t id, const void* data, uint32_t size, uint32_t lockIndex = UiThread); // 40

    // Selector 22: `frames` frames of every configured channel, processed in
    // place. Allocates nothing. [audio-thread]
    int32_t process(uint64_t frames, float* const* channels, const Transport& transport, bool analysisPass = false,
                    bool hostFlag = false);

    // Selector 31 codes 0 and 2: the state chunk into `chunk` (resized to it);
    // false when the core fails. [ui-thread]
    bool saveState(std::vector<uint8_t>& chunk);
    // Selector 31 code 3; false when the core does not take the chunk. [ui-thread]
    bool restoreState(const uint8_t* chunk, size_t size);

    // Selector 28. [ui-thread]
    int32_t openEditor(uint64_t parentWindow, uint32_t width, uint32_t height);
    uint32_t idleEditor(); // the editor's answer; 1 without an editor
    uint64_t editorWindowHandle();
    int32_t closeEditor();

    // Selector 29: one input event of the window (kind, x, y in window pixels); the editor's answer. [ui-thread]
    uint32_t inputEvent(uint32_t kind, uint32_t x, uint32_t y);

    // Selectors 12 and 13: the index of the value of the second list with this
    // display name, or none. [ui-thread]
    std::optional<uint32_t> secondValueIndex(const std::string& name);
    // Selector 14. [ui-thread]
    float secondValue(uint32_t index);

    // Any selector with a record the caller built (EntryProtocol::Layout).
    int32_t call(Selector selector, uint32_t lockIndex, void* record) const;
    void setCallObserver(CallObserver observer) { observer_ = std::move(observer); }

private:
    int32_t callFor(void* instance, Selector selector, uint32_t lockIndex, void* record) const;
    int32_t editorOperation(EntryProtocol::EditorCode code, std::array<uint8_t, EntryProtocol::Layout::Editor::Size>& record);

    EntryProtocol::Callback entry_;
    HostCallbacks& host_;
    std::string name_;
    void* instance_ = nullptr;
    CallObserver observer_;
    // The block records, kept so that a block allocates nothing.
    std::array<uint8_t, EntryProtocol::Layout::Process::Size> processRecord_{};
    std::array<uint8_t, EntryProtocol::Layout::Transport::Size> transportRecord_{};
};

} // namespace Wrapper
