#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/EntryProtocol.h"

class ParamList;
class WrapperLink;
namespace DSP {
class DSPSetImpl;
class Element;
} // namespace DSP

// Tells the wrapper of the gestures made in the editor on automatable parameters
// (reverse call 1): an edit begins, the value changes, the edit ends. Only what
// the editor does is told: nothing while the host's own values are applied or
// the changes queued on the audio side are delivered to the user-interface side
// (both inside a NotFromEditor scope), during a reconfiguration, or while the
// instance is not ready; a begin or an end only with an editor open. The value
// told is the parameter's value as the host sees it. [ui-thread]
class EditorGestures : public std::enable_shared_from_this<EditorGestures> {
public:
    struct Instance {
        std::function<bool()> editorOpen;
        std::function<bool()> reconfiguring;
    };

    EditorGestures(const WrapperLink& wrapper, const ParamList& automatable, Instance instance);

    // By automatable index.
    void begins(uint32_t index);
    void changes(uint32_t index);
    void ends(uint32_t index);
    // By an element's own parameter index; nothing for a parameter the host cannot automate.
    void begins(const DSP::Element& element, uint32_t parameterIndex);
    void ends(const DSP::Element& element, uint32_t parameterIndex);

    // Hears the user-interface side's changes of every automatable parameter,
    // whose elements a format change may have made anew since the last call.
    // [ui-thread], takes the processing lock
    void listen(DSP::DSPSetImpl* set);

    void setReady(bool ready) { ready_.store(ready, std::memory_order_release); }

    // While one lives, the changes made on the user-interface side are not the
    // editor's. The host's calls from its audio thread reach only the audio
    // side, where nothing is heard, and need none.
    class NotFromEditor {
    public:
        explicit NotFromEditor(EditorGestures& gestures, bool applies = true);
        ~NotFromEditor();
        NotFromEditor(const NotFromEditor&) = delete;
        NotFromEditor& operator=(const NotFromEditor&) = delete;

    private:
        EditorGestures* gestures_;
    };

private:
    bool mayTell(EntryProtocol::GestureKind kind) const;
    void tell(EntryProtocol::GestureKind kind, uint32_t index, std::optional<float> value);
    std::optional<uint32_t> indexOf(const DSP::Element& element, uint32_t parameterIndex) const;

    const WrapperLink& wrapper_;
    const ParamList& automatable_;
    Instance instance_;
    std::atomic<bool> ready_{false};
    std::atomic<int> notFromEditor_{0};
    std::vector<std::weak_ptr<DSP::Element>> heard_; // per automatable entry
};
