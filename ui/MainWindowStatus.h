#pragma once
#include <cstdint>
#include <optional>

#include "core/HostVersion.h"
#include "ui/HostRow.h"
#include "util/Text.h"

namespace UI {

// What the main window shows for a shuttle state on its host: the status text
// and where it stands, whether the mode buttons and Discard can be pressed,
// and whether the "sent reference" note shows. It keeps the three flags the
// texts depend on across refreshes: controls-enabled (left by the last
// computation; the mode buttons follow it one refresh later), the mode of the
// last capture (reference-was-sent) and, for Nuendo from 8.1 on, whether clips
// were sent since the last Discard (sent-once). [ui-thread]
class MainWindowStatus {
public:
    static constexpr int TextX = 77;
    static constexpr uint32_t AudioUnitFormat = 9;
    static constexpr const char* SentReferenceText = "Reference clip(s) successfully sent to TW.";

    enum class Note { Keep, Show, Hide };

    // Everything one refresh decides, the clip rows aside.
    struct View {
        Util::String text;
        int textY = 0;
        bool modeButtonsEnabled = false;
        bool referenceOn = false; // the REFERENCE button shows on
        bool repairOn = false;    // the REPAIR button shows on
        bool discardEnabled = false;
        Note sentReference = Note::Keep;
    };

    // `wrapperFormat` is the plug-in core's format identifier; `hostVersion`
    // the host application's version, when the wrapper told it.
    MainWindowStatus(HostRow host, uint32_t wrapperFormat, std::optional<HostVersion> hostVersion);

    // One refresh for shuttle state `state` with "Reference Clip" `reference`
    // (true: REFERENCE mode).
    View refresh(uint32_t state, bool reference);
    // Discard was issued: Nuendo's idle advice starts again.
    void discarded() { sentOnce_ = false; }

    bool controlsEnabled() const { return controlsEnabled_; }
    bool referenceWasSent() const { return referenceWasSent_; }
    bool sentOnce() const { return sentOnce_; }

    // Where the status text stands: 8 pixels higher for each line feed in it.
    static int textY(const Util::String& text);

private:
    // The host's own text when one of them applies, whatever the state.
    std::optional<Util::String> hostText() const;
    // The text of a state on a host whose texts follow the state.
    Util::String stateText(uint32_t state, bool reference, Note& sentReference);
    Util::String idleText() const;
    Util::String commitText() const;
    bool hostVersionAtLeast(uint32_t major, uint32_t minor, uint32_t patch) const;

    HostRow host_;
    uint32_t wrapperFormat_;
    std::optional<HostVersion> hostVersion_;
    bool controlsEnabled_ = true;
    bool referenceWasSent_ = false;
    bool sentOnce_ = false;
};

} // namespace UI
