#include "ui/MainPluginWindow.h"

#include "ui/CommandPrompt.h"
#include "ui/FrameWindow.h"
#include "ui/PulseOverlayTimer.h"
#include "ui/ToolWindow.h"

namespace UI {

MainPluginWindow::MainPluginWindow(const Util::String& layoutName, int width, int height)
    : Object("MainPluginWindow"), canvas_(width, height, "MainPluginWindow Canvas"), host_(canvas_)
{
    frame_ = &Window::create<FrameWindow>(canvas_, "MainPluginWindow Frame");
    frame_->setFrame(0, 0, width, height);
    pulse_ = &Window::create<PulseOverlayTimer>(canvas_, "MainPluginWindow Pulse Overlay Timer");
    pulse_->setFrame(0, 0, 1, 1);
    buildWrapperHeader(canvas_);
    canvas_.setLayoutName(layoutName);
    host_.setKeyboardHandler(this);
    canvas_.tree().setPressFilter([this](const InputEvent& event) { return opensPrompt(event); });
}

MainPluginWindow::~MainPluginWindow() { host_.close(); }

bool MainPluginWindow::open(uint64_t parentWindow)
{
    if (!built_) {
        built_ = true;
        buildChildren();
    }
    return host_.open(parentWindow);
}

void MainPluginWindow::close()
{
    if (!host_.isOpen())
        return;
    saveWindowState();
    host_.close();
}

uint8_t MainPluginWindow::idle()
{
    host_.processEvents();
    canvas_.timers().runDue();
    onIdle();
    lastDrawn_ = host_.update();
    ToolWindow::idleAll(); // after the plug-in window drew: the design aid shows what it drew
    return 0;
}

bool MainPluginWindow::input(const InputEvent& event)
{
    const bool used = canvas_.tree().dispatch(event);
    host_.update();
    return used;
}

std::vector<uint32_t> MainPluginWindow::hitTest(Point canvasPoint)
{
    std::vector<uint32_t> indices;
    for (Window* w = canvas_.tree().windowAt(canvasPoint); w; w = w->parent())
        if (const auto index = w->parameterIndex())
            indices.push_back(*index);
    return indices;
}

bool MainPluginWindow::opensPrompt(const InputEvent& event)
{
    const bool inSquare = event.point.x >= 0 && event.point.x <= ConsoleSquare && event.point.y >= 0 &&
                          event.point.y <= ConsoleSquare;
    if (!console_ || !inSquare || (event.modifiers & ConsoleModifiers) != ConsoleModifiers)
        return false;
    if (!prompt_) {
        prompt_ = &Window::create<CommandPrompt>(canvas_, "Console Prompt");
        prompt_->setFrame(0, 0, canvas_.bounds().width(), CommandPrompt::Height);
        connect(prompt_->entered, [this](const Util::String& line) {
            if (console_)
                console_->run(line);
        });
    }
    prompt_->open();
    return true;
}

bool MainPluginWindow::applyLayout() { return canvas_.applyLayout(canvas_); }

void MainPluginWindow::buildChildren() { applyLayout(); }

} // namespace UI
