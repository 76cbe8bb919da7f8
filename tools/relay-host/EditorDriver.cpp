#include "EditorDriver.h"

#include "platform/NativeWindow.h"

#include <array>
#include <stdexcept>

namespace RelayHost {

namespace {

// Selector 29's event kinds of a left button.
constexpr uint32_t ButtonDown = 2;
constexpr uint32_t ButtonUp = 3;

} // namespace

EditorDriver::EditorDriver(Wrapper::PluginInstance& plugin, bool onScreen) : plugin_(plugin)
{
    const auto info = plugin_.information();
    const uint32_t width = EntryProtocol::read(info.data(), EntryProtocol::Layout::Information::EditorWidth);
    const uint32_t height = EntryProtocol::read(info.data(), EntryProtocol::Layout::Information::EditorHeight);
    if (onScreen) {
        frame_ = Platform::DesktopWindow::create(int(width), int(height), "relay-host");
        if (!frame_)
            throw std::runtime_error("--editor-window: no X display to open the window on (is DISPLAY set?)");
    }
    if (plugin_.openEditor(frame_ ? frame_->handle() : 0, width, height) != EntryProtocol::Success)
        throw std::runtime_error("the plug-in could not open its window (selector 28)");
}

EditorDriver::~EditorDriver()
{
    plugin_.closeEditor();
    if (frame_)
        frame_->sync();
}

void EditorDriver::idle()
{
    if (frame_)
        frame_->sync();
    plugin_.idleEditor();
}

void EditorDriver::press(const std::string& control)
{
    using Frame = EntryProtocol::Layout::ControlFrame;
    std::array<uint8_t, Frame::Size> record{};
    EntryProtocol::writeText(record.data(), Frame::Name, control);
    if (plugin_.propertyMessage(EntryProtocol::PropertyId::ControlFrame, record.data(), uint32_t(record.size()),
                                Wrapper::PluginInstance::UiThread) != EntryProtocol::Success)
        throw std::runtime_error("--press: the window has no control named \"" + control + "\"");
    if (!EntryProtocol::read(record.data(), Frame::Visible))
        throw std::runtime_error("--press: \"" + control + "\" is hidden or disabled now");
    const int x = EntryProtocol::read(record.data(), Frame::Left) + EntryProtocol::read(record.data(), Frame::Width) / 2;
    const int y = EntryProtocol::read(record.data(), Frame::Top) + EntryProtocol::read(record.data(), Frame::Height) / 2;
    if (frame_) {
        const uint64_t child = plugin_.editorWindowHandle();
        frame_->sendPointer(child, Platform::DesktopWindow::Pointer::Move, x, y);
        frame_->sendPointer(child, Platform::DesktopWindow::Pointer::Press, x, y);
        frame_->sendPointer(child, Platform::DesktopWindow::Pointer::Release, x, y);
        frame_->sync();
        plugin_.idleEditor(); // the window takes the X server's events at its idle call
        return;
    }
    plugin_.inputEvent(ButtonDown, uint32_t(x), uint32_t(y));
    plugin_.inputEvent(ButtonUp, uint32_t(x), uint32_t(y));
}

void EditorDriver::savePicture(const std::string& path)
{
    if (plugin_.propertyMessage(EntryProtocol::PropertyId::EditorPicture, path.c_str(), uint32_t(path.size()),
                                Wrapper::PluginInstance::UiThread) != EntryProtocol::Success)
        throw std::runtime_error("the window's picture could not be saved as " + path);
}

} // namespace RelayHost
