#include "ui/MainWindow.h"

#include "core/Plugin.h"
#include "dsp/ShuttleElement.h"
#include "io/ConfigFile.h"
#include "param/BoolParamConfigFile.h"
#include "platform/LocalTime.h"
#include "platform/UrlOpener.h"
#include "shuttle/DiscardCommand.h"
#include "shuttle/EditorMessage.h"
#include "shuttle/LoadRepairedFileCommand.h"
#include "shuttle/ReferenceClipCommand.h"
#include "shuttle/Transform.h"
#include "ui/BitmapWindow.h"
#include "ui/ClipThumbnail.h"
#include "ui/MultiText.h"
#include "ui/PluginEditorWindow.h"
#include "ui/RadudarContextMenu.h"
#include "ui/RadudarLabel.h"
#include "ui/RadudarMouseOverButton.h"
#include "ui/RadudarMouseOverOnOffButton.h"
#include "ui/RadudarPopoverBackground.h"
#include "ui/RadudarPushButton.h"
#include "ui/RadudarScrollBar.h"
#include "ui/ScrollView.h"
#include "ui/UpdateCheck.h"
#include "util/Log.h"

#include <algorithm>
#include <array>

namespace UI {

namespace {
constexpr const char* LayoutName = "Layout_MainWindow";
constexpr const char* GradientImage = "png/TW_Relay_Waveform_Gradient.png";
constexpr const char* ReferenceClipSetting = "Reference Clip";
constexpr const char* ReadyToWriteSetting = "ReadyToWrite";
constexpr const char* DisplayStateSetting = "Relay Display State";
constexpr const char* HelpDocPathSetting = "HelpDocPath";

constexpr const char* ClipListTooltip = "This info window will guide you through the workflow between %1 and TW";
constexpr const char* DiscardTooltip = "Discard the audio clip(s) that have been sent to TW for repair";
constexpr const char* ReferenceTooltip =
    "Use this mode to send a copy of the audio clip(s) to TW for reference and learning features";
constexpr const char* RepairTooltip =
    "Use this mode to directly edit the audio clip(s) in TW, then render the changes in %1";

constexpr uint32_t Idle = 0, Captured = 2, ReadyToWrite = 3;

// Formats whose hosts report versions that may be the legacy ones.
constexpr std::array<uint32_t, 4> LegacyCheckedFormats = {3, 4, 6, 7};
constexpr std::array<const char*, 4> LegacyVersionPrefixes = {"10.0.", "10.0f", "10.1.", "10.1f"};

Util::String trimmed(const Util::String& text)
{
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == Util::String::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The version part of the host application's text ("Pro Tools 10.1.2" -> "10.1.2").
Util::String versionText(const Util::String& application)
{
    const auto digit = application.find_first_of("0123456789");
    return digit == Util::String::npos ? Util::String() : application.substr(digit);
}

bool isLegacyHost(uint32_t format, const Util::String& application)
{
    if (std::find(LegacyCheckedFormats.begin(), LegacyCheckedFormats.end(), format) == LegacyCheckedFormats.end())
        return false;
    const Util::String version = versionText(application);
    return std::any_of(LegacyVersionPrefixes.begin(), LegacyVersionPrefixes.end(),
                       [&](const char* prefix) { return version.rfind(prefix, 0) == 0; });
}
} // namespace

MainWindow::MainWindow(Plugin& plugin, DSP::Transform& transform, HelpViewerFactory help)
    : plugin_(plugin),
      transform_(transform),
      helpFactory_(std::move(help)),
      settings_(plugin.settings()),
      sharedSettings_(std::make_shared<Util::ConfigFile>(plugin.settings().GetPath())),
      host_(HostRow::ofProcess()),
      status_(host_, plugin.formatIdentifier(),
              HostVersion::parse(plugin.hostApplicationName(), plugin.hostApplicationVersion()))
{
    transform_.attachMainWindow(this);
    consoleAttachment_ = plugin.consoleCommands().attach(*this);
    if (host_.pollsSettingsStore())
        pollTimer_ = std::make_unique<SimpleTimer>(canvas().timers(), PollIntervalMs, [this] { pollSettingsStore(); });
}

MainWindow::~MainWindow()
{
    // From here on the transform posts nothing for this window; what is queued
    // finds the window gone and does nothing.
    transform_.attachMainWindow(nullptr);
}

std::unique_ptr<PluginEditor> MainWindow::createEditor(Plugin& plugin, HelpViewerFactory help, WindowHook made)
{
    auto* transform = dynamic_cast<DSP::Transform*>(&plugin.elementSet());
    return createPluginEditor(
        [&plugin, transform, help = std::move(help), made = std::move(made)]() -> std::unique_ptr<MainPluginWindow> {
            std::unique_ptr<MainPluginWindow> window;
            if (transform)
                window = std::make_unique<MainWindow>(plugin, *transform, help);
            else
                window = std::make_unique<MainPluginWindow>();
            if (made)
                made(*window);
            return window;
        });
}

// ---- Building -----------------------------------------------------------------

// The layout positions the windows made in code, so they come first; the
// windows it makes are looked up after it.
void MainWindow::buildChildren()
{
    transform_.ensureLink();
    pipeTimer_ = std::make_unique<SimpleTimer>(canvas().timers(), PipeIntervalMs, [this] { pipeTick(); });
    createCodeWindows();
    createHelpPopover();
    canvas().setLayoutName(LayoutName);
    applyLayout();
    connectLayoutWindows();

    applyMode();
    if (UpdateCheck::run(Util::ConfigFile(UpdateCheck::SettingsKey), Platform::secondsSinceEpoch()))
        Util::Log::write("The updater was started");
    if (settings_.GetBool(ReadyToWriteSetting, false))
        loadRepairedFiles();
    legacyHost_ = isLegacyHost(plugin_.formatIdentifier(), plugin_.hostApplicationName());

    if (sentReferenceLabel_)
        sentReferenceLabel_->hide();
    refresh();
    transform_.sendToEditor(Shuttle::EditorMessage::WindowOpened);
    settings_.SetBool(DisplayStateSetting, false);
    for (const char* diagnostic : {"DirtyText", "MessageText", "StatusText"})
        if (Window* label = canvas().findChild(diagnostic))
            label->hide();
}

void MainWindow::createCodeWindows()
{
    Canvas& c = canvas();
    c.attachContextMenu(&Window::create<Radudar::ContextMenu>(c, "Menu"));
    c.tooltipWindow(TooltipDelayMs);

    auto& bar = Window::create<Radudar::ScrollBar>(c, "Scroll Bar");
    clipList_ = &Window::create<ScrollView>(c, "Clip ScrollView", &bar);
    const Util::String hostName = host_.displayName();
    for (uint32_t n = 1; n <= ThumbnailCount; ++n) {
        auto& row = Window::create<ClipThumbnail>(*clipList_, Util::format("Thumbnail %1", n),
                                                  Util::format("%1 %2", hostName, n));
        row.hide();
        thumbnails_.push_back(&row);
    }
    clipList_->setScrollStep(ScrollStep);
    clipList_->setTooltip(Util::format(ClipListTooltip, hostName));

    gradient_ = &Window::create<BitmapWindow>(c, "Gradient Bitmap", GradientImage);
    infoText_ = &Window::create<MultiText>(c, "Info Text");
    infoText_->hide();
    statusText_ = &Window::create<MultiText>(c, "Status Text");
    statusText_->setTextColorKey("LabelBrightTextColor");
    statusText_->setWordWrap(true);
    for (MultiText* text : {infoText_, statusText_})
        text->setAlignment(TextAlign::Center);
}

void MainWindow::createHelpPopover()
{
    helpPopover_ = &Window::create<Radudar::PopoverBackground>(canvas(), "Help Popover");
    helpPopover_->hide();
    auto& help = Window::create<Radudar::PushButton>(*helpPopover_, "Help Button");
    help.setTitle("Help");
    auto& hostHelp = Window::create<Radudar::PushButton>(*helpPopover_, "Host Help Button");
    hostHelp.setTitle(host_.hostHelpLabel());
    Object::connect(help.clicked, [this] { showHelp(ProductHelpPage); });
    Object::connect(hostHelp.clicked, [this] { openHostHelp(); });
}

// A window the layout did not make stays unconnected (the loader has said so).
void MainWindow::connectLayoutWindows()
{
    if (auto* wrapperHelp = wrapperHelpButton())
        Object::connect(wrapperHelp->clicked, [this] { toggleHelpPopover(); });

    if ((discardButton_ = findWindow<Radudar::MouseOverButton>("Discard Button"))) {
        Object::connect(discardButton_->clicked, [this] { discard(); });
        discardButton_->setTooltip(DiscardTooltip);
    }
    if ((infoCloseButton_ = findWindow<Radudar::MouseOverButton>("Info Text Close Button"))) {
        Object::connect(infoCloseButton_->clicked, [this] { closeInfoText(); });
        infoCloseButton_->hide();
    }

    referenceClip_ = std::make_unique<Controller::BoolParamConfigFile>(ReferenceClipSetting, sharedSettings_, true);
    if ((referenceButton_ = findWindow<Radudar::MouseOverOnOffButton>("Reference On Off Button"))) {
        Object::connect(referenceButton_->clicked, [this] { setReference(true); });
        referenceButton_->setTooltip(ReferenceTooltip);
    }
    if ((repairButton_ = findWindow<Radudar::MouseOverOnOffButton>("Repair On Off Button"))) {
        Object::connect(repairButton_->clicked, [this] { setReference(false); });
        repairButton_->setTooltip(Util::format(RepairTooltip, host_.displayName()));
    }
    sentReferenceLabel_ = findWindow<Radudar::Label>("Sent Reference Label");
    diagnosticStatus_ = findWindow<Radudar::Label>("StatusText");
}

template <typename T>
T* MainWindow::findWindow(const Util::String& name) const
{
    return dynamic_cast<T*>(const_cast<MainWindow*>(this)->canvas().findChild(name));
}

// ---- Timers -------------------------------------------------------------------

void MainWindow::pipeTick()
{
    auto& pipe = transform_.commandPipe();
    pipe.ProcessHigh();
    pipe.ProcessLow();
    refreshWhenStateChanged();
}

void MainWindow::onIdle() { refreshWhenStateChanged(); }

void MainWindow::refreshWhenStateChanged()
{
    const uint32_t state = shuttleState();
    if (shownState_ == state)
        return;
    // The repaired list this window loaded is done with once the state leaves 3.
    if (shownState_ == ReadyToWrite)
        resetLoaded(false);
    refresh();
}

void MainWindow::pollSettingsStore()
{
    Util::ConfigFile editor(EditorRequestsKey);
    const Util::String sentBack = "SentBackToHost." + host_.name();
    if (editor.GetBool(sentBack, false) && loadRepairedFiles())
        editor.SetBool(sentBack, false);
    const Util::String discardCalled = "DiscardCalled." + host_.name();
    if (editor.GetBool(discardCalled, false)) {
        transform_.commandPipe().PostToHigh(new Shuttle::DiscardCommand(transform_));
        editor.SetBool(discardCalled, false);
    }
}

// ---- State --------------------------------------------------------------------

uint32_t MainWindow::shuttleState() const
{
    const auto shuttle = transform_.GetDSPSet().FindElement(DSP::ShuttleElement::kName);
    if (!shuttle)
        return Idle;
    const auto index = shuttle->FindParameter(DSP::ShuttleElement::kStateParameter);
    const auto value = index ? shuttle->GetParameterValue(*index) : std::nullopt;
    return value && std::holds_alternative<uint32_t>(*value) ? std::get<uint32_t>(*value) : Idle;
}

Util::String MainWindow::stateName(uint32_t state) const
{
    const auto shuttle = transform_.GetDSPSet().FindElement(DSP::ShuttleElement::kName);
    const auto index = shuttle ? shuttle->FindParameter(DSP::ShuttleElement::kStateParameter) : std::nullopt;
    const auto* declaration = index ? shuttle->GetParameterDeclaration(*index) : nullptr;
    if (!declaration || state >= declaration->valueNames.size())
        return Util::toText(state);
    return declaration->valueNames[state];
}

void MainWindow::refresh()
{
    const uint32_t state = shuttleState();
    shownState_ = state;
    if (diagnosticStatus_ && settings_.GetBool(DisplayStateSetting, false))
        diagnosticStatus_->setText(Util::format("Relay Status: %1", stateName(state)));
    updateThumbnails(state);
    const auto view = status_.refresh(state, referenceClip_ ? referenceClip_->GetValue() : true);
    for (auto [button, on] : {std::pair{referenceButton_, view.referenceOn}, std::pair{repairButton_, view.repairOn}})
        if (button) {
            button->enable(view.modeButtonsEnabled);
            button->setOn(on);
        }
    settings_.SetBool(ReadyToWriteSetting, state == ReadyToWrite);
    if (discardButton_)
        discardButton_->enable(view.discardEnabled);
    showStatus(view);
}

void MainWindow::updateThumbnails(uint32_t state)
{
    clipList_->clear();
    for (ClipThumbnail* row : thumbnails_)
        row->hide();
    if (state != Captured && state != ReadyToWrite)
        return;
    // The clips of the pass just captured, or the repaired files loaded.
    const size_t clips = state == Captured ? size_t(transform_.fileHandler().clipNumber())
                                           : transform_.fileHandler().repairedList().size();
    for (size_t i = 0; i < std::min(clips, thumbnails_.size()); ++i) {
        thumbnails_[i]->setHighlighted(state == ReadyToWrite);
        clipList_->append(*thumbnails_[i]);
    }
}

void MainWindow::showStatus(const MainWindowStatus::View& view)
{
    statusText_->setFrame(MainWindowStatus::TextX, view.textY, statusText_->width(), statusText_->height());
    statusText_->setText(view.text);
    if (sentReferenceLabel_ && view.sentReference != MainWindowStatus::Note::Keep)
        sentReferenceLabel_->setVisible(view.sentReference == MainWindowStatus::Note::Show);
}

// ---- Actions ------------------------------------------------------------------

void MainWindow::setReference(bool reference)
{
    referenceClip_->SetValue(reference);
    applyMode();
}

// Every application tells the file handler the mode again, the same or not.
void MainWindow::applyMode()
{
    const bool reference = referenceClip_->GetValue();
    if (referenceButton_)
        referenceButton_->setOn(reference);
    if (repairButton_)
        repairButton_->setOn(!reference);
    transform_.commandPipe().PostToHigh(new Shuttle::ReferenceClipCommand(*this, transform_, reference));
}

void MainWindow::discard()
{
    const uint32_t state = shuttleState();
    if (state != Captured && state != ReadyToWrite)
        return;
    status_.discarded();
    transform_.commandPipe().PostToHigh(new Shuttle::DiscardCommand(transform_));
    if (transform_.editorLink())
        transform_.sendToEditor(Shuttle::EditorMessage::Discard);
}

bool MainWindow::loadRepairedFiles()
{
    if (host_.unsupported())
        return false;
    const uint32_t state = shuttleState();
    if ((state != Idle && state != Captured) || repairedLoaded_)
        return false;
    std::vector<Util::String> files;
    transform_.fileHandler().listRepaired(files);
    if (files.empty())
        return false;
    repairedLoaded_ = true;
    transform_.commandPipe().PostToHigh(new Shuttle::LoadRepairedFileCommand(transform_, std::move(files)));
    // The commit advice follows: the user should see it.
    raiseNativeWindow(true, true);
    return true;
}

void MainWindow::resetLoaded(bool loaded)
{
    if (!loaded)
        repairedLoaded_ = false;
}

void MainWindow::showInfoText(const Util::String& text)
{
    clipList_->hide();
    gradient_->hide();
    infoText_->setText(text);
    infoText_->show();
    if (infoCloseButton_)
        infoCloseButton_->show();
}

void MainWindow::closeInfoText()
{
    if (infoCloseButton_)
        infoCloseButton_->hide();
    infoText_->hide();
    clipList_->show();
    gradient_->show();
}

void MainWindow::toggleHelpPopover()
{
    const bool show = helpPopover_->isHidden();
    helpPopover_->setVisible(show);
    if (show)
        helpPopover_->bringToFront();
    if (auto* wrapperHelp = wrapperHelpButton())
        wrapperHelp->setLatched(show);
}

void MainWindow::showHelp(uint32_t pageId)
{
    if (!help_ && helpFactory_)
        help_ = helpFactory_(settings_.GetString(HelpDocPathSetting, ""));
    if (!help_) {
        Util::Log::write(Util::format("No help viewer: help page %1 not shown", pageId));
        return;
    }
    help_->showHelp(pageId);
}

void MainWindow::openHostHelp()
{
    if (!Platform::urlOpener().openUrl(HostHelpAddress))
        Util::Log::write(Util::format("The page %1 did not open", HostHelpAddress));
}

void MainWindow::consoleCommand(const Util::String& line)
{
    const Util::String command = trimmed(Util::toLower(line));
    if (command == "relay display state on")
        settings_.SetBool(DisplayStateSetting, true);
    else if (command == "relay display state off")
        settings_.SetBool(DisplayStateSetting, false);
}

} // namespace UI
