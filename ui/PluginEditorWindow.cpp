#include "ui/PluginEditorWindow.h"

#include "core/EntryProtocol.h"
#include "ui/Window.h"

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

bool PluginEditorWindow::propertyMessage(uint32_t id, uint32_t size, uint64_t data)
{
    void* record = reinterpret_cast<void*>(uintptr_t(data));
    if (!window_ || !record)
        return false;
    namespace PropertyId = EntryProtocol::PropertyId;
    if (id == PropertyId::EditorPicture)
        return savePicture(Util::String(static_cast<const char*>(record), size));
    if (id == PropertyId::ControlFrame && size >= EntryProtocol::Layout::ControlFrame::Size)
        return describeControl(record);
    return false;
}

// What the window shows now: its pending drawing first.
bool PluginEditorWindow::savePicture(const Util::String& path)
{
    window_->idle();
    return window_->hostWindow().saveImage(path);
}

bool PluginEditorWindow::describeControl(void* record)
{
    using Frame = EntryProtocol::Layout::ControlFrame;
    const Window* control = window_->canvas().findChild(Util::String(EntryProtocol::readText(record, Frame::Name)));
    if (!control)
        return false;
    const Rect r = control->canvasFrame();
    EntryProtocol::write(record, Frame::Left, int32_t(r.left));
    EntryProtocol::write(record, Frame::Top, int32_t(r.top));
    EntryProtocol::write(record, Frame::Width, int32_t(r.width()));
    EntryProtocol::write(record, Frame::Height, int32_t(r.height()));
    EntryProtocol::write(record, Frame::Visible, uint32_t(control->isShowing() && control->isEnabledInTree()));
    return true;
}

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
