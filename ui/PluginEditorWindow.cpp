#include "ui/PluginEditorWindow.h"

namespace UI {

PluginEditorWindow::PluginEditorWindow(MainWindowFactory factory) : factory_(std::move(factory))
{
    if (!factory_)
        factory_ = [] { return std::make_unique<MainPluginWindow>(); };
}

PluginEditorWindow::~PluginEditorWindow() { close(); }

bool PluginEditorWindow::open(const OpenRequest& request)
{
    close();
    window_ = factory_();
    if (window_ && window_->open(request.parentWindow))
        return true;
    window_.reset();
    return false;
}

void PluginEditorWindow::close()
{
    if (!window_)
        return;
    window_->close();
    window_.reset();
}

uint8_t PluginEditorWindow::idle()
{
    if (!window_)
        return 1;
    const uint32_t change = runStateChange_.exchange(0);
    if (change & pendingBit)
        window_->runStateChanged(change & 1, change & 2, change & 4);
    return window_->idle();
}

uint64_t PluginEditorWindow::windowHandle() const { return window_ ? window_->windowHandle() : 0; }

bool PluginEditorWindow::event(uint32_t, uint32_t, uint32_t) { return false; }

void PluginEditorWindow::notify(uint32_t, uint32_t) {}

uint32_t PluginEditorWindow::inputEvent(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t flag)
{
    const auto event = InputEvent::fromForm1(a, b, c, d, flag);
    return window_ && event && window_->input(*event) ? 1 : 0;
}

uint32_t PluginEditorWindow::inputEventWithPoint(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, bool useCurrentPoint)
{
    if (!window_)
        return 0;
    const auto event = InputEvent::fromForm2(a, b, c, d, e, useCurrentPoint, window_->pointer());
    return event && window_->input(*event) ? 1 : 0;
}

std::vector<uint32_t> PluginEditorWindow::hitTest(uint32_t x, uint32_t y)
{
    return window_ ? window_->hitTest({int(x), int(y)}) : std::vector<uint32_t>{};
}

void PluginEditorWindow::propertyText(const std::string& text)
{
    if (window_)
        window_->propertyText(text);
}

bool PluginEditorWindow::propertyMessage(uint32_t, uint32_t, uint64_t) { return false; }

void PluginEditorWindow::runStateChanged(bool running, bool fromUserInterface, bool holdClear)
{
    // May come from the audio thread: only recorded here, delivered by idle.
    runStateChange_.store(pendingBit | (running ? 1u : 0u) | (fromUserInterface ? 2u : 0u) | (holdClear ? 4u : 0u));
}

std::unique_ptr<PluginEditor> createPluginEditor(MainWindowFactory factory)
{
    return std::make_unique<PluginEditorWindow>(std::move(factory));
}

} // namespace UI
