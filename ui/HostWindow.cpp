#include "ui/HostWindow.h"

#include "ui/Canvas.h"
#include "ui/KeyboardMessageHandler.h"

namespace UI::Native {

namespace {
std::optional<InputKind> kindOf(Platform::NativeInput::Kind kind)
{
    using K = Platform::NativeInput::Kind;
    switch (kind) {
    case K::Move: return InputKind::Move;
    case K::Drag: return InputKind::Drag;
    case K::Down: return InputKind::Down;
    case K::Up: return InputKind::Up;
    case K::DoubleDown: return InputKind::DoubleDown;
    case K::RightDown: return InputKind::RightDown;
    case K::RightUp: return InputKind::RightUp;
    case K::Wheel: return InputKind::Wheel;
    case K::Leave: return InputKind::Leave;
    default: return std::nullopt;
    }
}
} // namespace

HostWindow::HostWindow(Canvas& canvas) : Object("Main Window HostWindow"), canvas_(canvas) {}

HostWindow::~HostWindow() { close(); }

bool HostWindow::open(uint64_t parentWindow)
{
    close();
    image_ = Image(canvas_.width(), canvas_.height());
    if (parentWindow != 0) {
        native_ = Platform::NativeWindow::createChild(parentWindow, canvas_.width(), canvas_.height(), *this);
        if (!native_)
            return false;
    }
    open_ = true;
    canvas_.invalidate();
    update();
    return true;
}

void HostWindow::close()
{
    native_.reset();
    open_ = false;
}

uint64_t HostWindow::handle() const { return native_ ? native_->handle() : 0; }

void HostWindow::raise(bool show, bool activate)
{
    if (native_)
        native_->raise(show, activate);
}

void HostWindow::processEvents()
{
    if (!native_)
        return;
    native_->processEvents();
    if (lost_) {
        native_.reset();
        open_ = false;
        lost_ = false;
    }
}

Rect HostWindow::update()
{
    if (!open_)
        return {};
    const Rect drawn = canvas_.redraw(image_);
    if (!drawn.empty())
        show(drawn);
    return drawn;
}

void HostWindow::show(const Rect& area)
{
    if (native_)
        native_->present(image_.data(), image_.stride(), area.left, area.top, area.width(), area.height());
}

void HostWindow::nativeInput(const Platform::NativeInput& input)
{
    using K = Platform::NativeInput::Kind;
    switch (input.kind) {
    case K::Exposed:
        // The image still holds the pixels; only show them again.
        show(Rect::fromSize(input.x, input.y, input.width, input.height));
        return;
    case K::Closed:
        lost_ = true; // dropped once the event loop has returned
        return;
    case K::Key: {
        KeyEvent key{KeyEvent::Code(input.key), input.text, input.modifiers};
        if (!canvas_.tree().dispatchKey(key) && keys_)
            keys_->handleKey(key);
        return;
    }
    default:
        if (const auto kind = kindOf(input.kind))
            canvas_.tree().dispatch(InputEvent{*kind, {input.x, input.y}, input.modifiers, input.wheelDelta});
        return;
    }
}

} // namespace UI::Native
