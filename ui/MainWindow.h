#pragma once
#include "core/ConsoleCommandManager.h"
#include "platform/SimpleTimer.h"
#include "shuttle/MainWindowActions.h"
#include "ui/HelpViewer.h"
#include "ui/HostRow.h"
#include "ui/MainPluginWindow.h"
#include "ui/MainWindowStatus.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Plugin;
class PluginEditor;

namespace Controller {
class BoolParamConfigFile;
}
namespace DSP {
class Transform;
}
namespace Util {
class ConfigFile;
}

namespace UI {

class ClipThumbnail;
class MultiText;
class ScrollView;
namespace Radudar {
class Label;
class MouseOverButton;
class MouseOverOnOffButton;
class PopoverBackground;
} // namespace Radudar

// The plug-in's window. The user picks REFERENCE or REPAIR, sees the clips
// captured (gray) or repaired (blue), discards what went to the editor, and
// reads a status text that tells, for the host in use, what to press next.
//
// It never touches audio: it reads "Shuttle State" from the shuttle element,
// asks the product transform for clip counts and repaired files, and sends
// its decisions as shuttle commands through the transform's command pipe,
// which its 100 ms pipe timer drains (both halves, on this thread). It is
// attached to the transform while it lives, so that the editor's requests and
// the transform's notices reach it as commands. For hosts that leave the
// editor's requests in the settings store it polls them every 250 ms.
//
// Everything here runs on the host's user-interface thread. [ui-thread]
class MainWindow final : public MainPluginWindow, public Shuttle::MainWindowActions {
public:
    static constexpr uint32_t PipeIntervalMs = 100;
    static constexpr uint32_t PollIntervalMs = 250;
    static constexpr uint32_t ThumbnailCount = 16;
    static constexpr uint32_t ProductHelpPage = 44;
    static constexpr uint32_t TooltipDelayMs = 600;
    static constexpr int ScrollStep = 20;
    // Where the editor leaves its requests for the hosts that poll.
    static constexpr const char* EditorRequestsKey = "SOFTWARE\\Quillex\\TW6";
    static constexpr const char* HostHelpAddress = "https://www.quillex.com/tw-relay/hosts";

    MainWindow(Plugin& plugin, DSP::Transform& transform, HelpViewerFactory help = {});
    ~MainWindow() override;

    // Runs on every window made, before it opens (the product registers its
    // commands with the canvas).
    using WindowHook = std::function<void(MainPluginWindow& window)>;
    // The editor of an instance whose element set is the product transform:
    // a new window at every open. Without the transform, the plain window.
    static std::unique_ptr<PluginEditor> createEditor(Plugin& plugin, HelpViewerFactory help = {},
                                                      WindowHook made = {});

    // Recomputes everything shown from the current shuttle state.
    void refresh();
    // Loads the repaired files the editor left, when the host, the state and
    // this window allow; true when the load was issued.
    bool loadRepairedFiles();
    // In states 2 and 3: back to 0, and the editor is told.
    void discard();
    // Stores "Reference Clip" and applies the mode.
    void setReference(bool reference) override;
    void showHelp(uint32_t pageId);
    // False allows another load of repaired files; true changes nothing.
    void resetLoaded(bool loaded);

    // Shuttle::MainWindowActions
    void showInfoText(const Util::String& text) override;
    void discardAction() override { discard(); }
    void loadRepairedAction() override { loadRepairedFiles(); }

    // "relay display state on" or "off", case and surrounding blanks aside.
    void consoleCommand(const Util::String& line) override;

    // "Shuttle State" as the shuttle element holds it; 0 without the element.
    uint32_t shuttleState() const;
    const HostRow& host() const { return host_; }
    const MainWindowStatus& status() const { return status_; }
    bool repairedLoaded() const { return repairedLoaded_; }
    bool legacyHost() const { return legacyHost_; }
    const std::vector<ClipThumbnail*>& thumbnails() const { return thumbnails_; }

protected:
    void buildChildren() override;
    void onIdle() override;

private:
    void createCodeWindows();
    void createHelpPopover();
    void connectLayoutWindows();
    void pipeTick();
    void pollSettingsStore();
    void refreshWhenStateChanged();
    void applyMode();
    void updateThumbnails(uint32_t state);
    void showStatus(const MainWindowStatus::View& view);
    void closeInfoText();
    void toggleHelpPopover();
    void openHostHelp();
    Util::String stateName(uint32_t state) const;
    template <typename T>
    T* findWindow(const Util::String& name) const;

    Plugin& plugin_;
    DSP::Transform& transform_;
    HelpViewerFactory helpFactory_;
    std::unique_ptr<HelpViewer> help_;
    Util::ConfigFile& settings_;
    std::shared_ptr<Util::ConfigFile> sharedSettings_;
    const HostRow host_;
    MainWindowStatus status_;
    bool repairedLoaded_ = false;
    bool legacyHost_ = false;
    std::optional<uint32_t> shownState_;

    std::unique_ptr<SimpleTimer> pipeTimer_;
    std::unique_ptr<SimpleTimer> pollTimer_;
    std::unique_ptr<Controller::BoolParamConfigFile> referenceClip_;
    std::vector<ClipThumbnail*> thumbnails_;
    ScrollView* clipList_ = nullptr;
    Window* gradient_ = nullptr;
    MultiText* infoText_ = nullptr;
    MultiText* statusText_ = nullptr;
    Radudar::PopoverBackground* helpPopover_ = nullptr;
    Radudar::MouseOverButton* discardButton_ = nullptr;
    Radudar::MouseOverButton* infoCloseButton_ = nullptr;
    Radudar::MouseOverOnOffButton* referenceButton_ = nullptr;
    Radudar::MouseOverOnOffButton* repairButton_ = nullptr;
    Radudar::Label* sentReferenceLabel_ = nullptr;
    // Lines that name no console command reach consoleCommand while the window lives.
    ConsoleCommand::Manager::Attachment consoleAttachment_;
    Radudar::Label* diagnosticStatus_ = nullptr;
};

} // namespace UI
