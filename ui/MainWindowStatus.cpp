#include "ui/MainWindowStatus.h"

#include <algorithm>
#include <tuple>

namespace UI {

namespace {
constexpr const char* RecommendText = "We recommend using TW as an external editor\nin this host. Click the help button "
                                      "(?) for \t\t \nonline tutorials and documentation.";
constexpr const char* AudioUnitText =
    "The Audio Unit version of TW Relay is \nunsupported, please use the\n VST version instead.";
constexpr const char* BitBridgeText =
    "TW Relay is unsupported when used with a\nbit bridge. \t\t\t\t\t\t\t\t\t\tPlease use the %1-bit plug-in.";
constexpr const char* UnsupportedText = "This host is unsupported.";

// The state templates.
constexpr const char* SendText = "Select REFERENCE or REPAIR then press %1 to send the clips to TW.";
constexpr const char* CapturingText = "Capturing audio\u2026";
constexpr const char* CapturedText = "Audio clip(s) are now available in TW.";
constexpr const char* CommitText = "Press %1 to commit changes.";

constexpr uint32_t Idle = 0, Capturing = 1, Captured = 2, ReadyToWrite = 3;
constexpr int TopTextY = 93;
constexpr int LineFeedRise = 8;
} // namespace

MainWindowStatus::MainWindowStatus(HostRow host, uint32_t wrapperFormat, std::optional<HostVersion> hostVersion)
    : host_(host), wrapperFormat_(wrapperFormat), hostVersion_(hostVersion)
{
}

int MainWindowStatus::textY(const Util::String& text)
{
    return TopTextY - LineFeedRise * int(std::count(text.begin(), text.end(), '\n'));
}

MainWindowStatus::View MainWindowStatus::refresh(uint32_t state, bool reference)
{
    View view;
    const auto text = hostText();
    // The buttons follow what the previous computation left; where the host's
    // own text stands they stay disabled from the first refresh on.
    view.modeButtonsEnabled = controlsEnabled_ && state != ReadyToWrite && !text;
    view.referenceOn = view.modeButtonsEnabled && reference;
    view.repairOn = view.modeButtonsEnabled && !reference;
    view.discardEnabled = state == Captured || state == ReadyToWrite;

    if (text) {
        view.text = *text;
        controlsEnabled_ = false;
    } else {
        view.text = stateText(state, reference, view.sentReference);
        controlsEnabled_ = state == Idle || state == Captured || state == ReadyToWrite;
    }
    view.textY = textY(view.text);
    return view;
}

std::optional<Util::String> MainWindowStatus::hostText() const
{
    if (host_.recommendsExternalEditor())
        return RecommendText;
    if (host_.number() == 14 && wrapperFormat_ == AudioUnitFormat)
        return AudioUnitText;
    if (host_.bitBridge())
        return Util::format(BitBridgeText, host_.number() == 32 ? "32" : "64");
    if (host_.unsupported())
        return UnsupportedText;
    return std::nullopt;
}

Util::String MainWindowStatus::stateText(uint32_t state, bool reference, Note& sentReference)
{
    switch (state) {
    case Capturing:
        sentReference = Note::Hide;
        referenceWasSent_ = reference;
        return CapturingText;
    case Idle:
        sentReference = referenceWasSent_ ? Note::Show : Note::Hide;
        return idleText();
    case Captured:
        sentReference = referenceWasSent_ ? Note::Show : Note::Hide;
        if (host_.number() == 6 && hostVersionAtLeast(8, 1, 0))
            sentOnce_ = true;
        return CapturedText;
    case ReadyToWrite:
        return commitText();
    default:
        return {};
    }
}

Util::String MainWindowStatus::idleText() const
{
    switch (host_.number()) {
    case 1:
    case 2:
        return Util::format(SendText, "SEND");
    case 3:
    case 4:
        return Util::format(SendText, "\nSEND or Optional") + "\n\nOnly one track can be sent at a time.";
    case 6:
        if (hostVersionAtLeast(8, 1, 0))
            return sentOnce_ ? "Select 'Make Direct Offline Processing Permanent' to finalize changes"
                             : "Select REPAIR or REFERENCE and click 'Apply' to send clip to TW";
        [[fallthrough]];
    case 5:
        return "Select REFERENCE then press Preview or select REPAIR then press Process to send the clips to TW.";
    case 12:
        return Util::format(SendText, "Process");
    case 14:
        return Util::format(SendText, "Apply") + "\n\nTW Relay OnLoadParams supports the Waveform Editor.";
    case 25:
    case 26:
        return Util::format(SendText, "OK\nin the Plug-Ins Wave-Editing window\n");
    case 27:
        return "Select REFERENCE or REPAIR then press Process in the FXRack to send the clips to TW.";
    default:
        return Util::format(SendText, "Preview");
    }
}

// Sound Forge (12) and Pyramix (27) have no commit word of their own: they
// commit with the command that sends, "Process".
Util::String MainWindowStatus::commitText() const
{
    switch (host_.number()) {
    case 1:
    case 2:
        return Util::format(CommitText, "RENDER");
    case 3:
        return "To commit changes, press OK and then Render Effect.";
    case 4:
        return hostVersionAtLeast(8, 3, 1) ? "To commit changes, press Render and then OK."
                                           : "To commit changes, press OK.";
    case 6:
        if (hostVersionAtLeast(8, 1, 0))
            return Util::format(CommitText, "'Apply'");
        return Util::format(CommitText, "Process");
    case 14:
        return Util::format(CommitText, "Apply");
    case 25:
    case 26:
        return Util::format(CommitText, "OK in the Plug-Ins Wave-Editing\nwindow");
    default:
        return Util::format(CommitText, "Process");
    }
}

// An unknown version counts as an old one.
bool MainWindowStatus::hostVersionAtLeast(uint32_t major, uint32_t minor, uint32_t patch) const
{
    if (!hostVersion_)
        return false;
    return std::tie(hostVersion_->major, hostVersion_->minor, hostVersion_->patch) >= std::tie(major, minor, patch);
}

} // namespace UI
