#include "rewire/ProcessDevice.h"

#include "core/PluginFactory.h"
#include "rewire/DeviceInfoRecord.h"
#include "rewire/ResultCode.h"

#include <algorithm>
#include <thread>

namespace ReWire {

namespace {

constexpr size_t NameBufferSize = DeviceInfoRecord::NameSize;

// Copies the text and its terminator, nothing after it: the rest of the
// mixer's buffer stays as it was.
void copyText(char* buffer, const Util::String& text)
{
    const size_t length = std::min(text.size(), NameBufferSize - 1);
    text.copy(buffer, length);
    buffer[length] = '\0';
}

} // namespace

ProcessDevice& ProcessDevice::process()
{
    static ProcessDevice device;
    return device;
}

const PluginDefinition& ProcessDevice::definition()
{
    HostContext context;
    context.setFormatIdentifier(FormatCode);
    return PluginFactory::instance().definition(context);
}

ProcessDevice::Visit::Visit(ProcessDevice& process) : process_(process)
{
    process_.callsInside_.fetch_add(1);
    device_ = process_.device_.load();
}

ProcessDevice::Visit::~Visit() { process_.callsInside_.fetch_sub(1); }

int32_t ProcessDevice::openDevice(const void* openRecord)
{
    std::lock_guard<std::mutex> lock(openClose_);
    if (owned_)
        return ResultCode::DeviceAlreadyOpen;
    std::unique_ptr<ReWireDevice> device;
    try {
        device = std::make_unique<ReWireDevice>(EngineLibrary::process(), definition().reWireSignature());
    } catch (const std::exception&) {
        return ResultCode::DeviceNotCreated;
    }
    const int32_t result = device->open(static_cast<const uint8_t*>(openRecord));
    if (result != ResultCode::Success)
        return result; // the mixer may try again once the engine is in place
    owned_ = std::move(device);
    device_.store(owned_.get());
    return result;
}

void ProcessDevice::closeDevice()
{
    std::lock_guard<std::mutex> lock(openClose_);
    if (!owned_)
        return;
    device_.store(nullptr);
    while (callsInside_.load() != 0)
        std::this_thread::yield();
    owned_->close();
    owned_.reset();
}

bool ProcessDevice::isCloseOK()
{
    const Visit visit(*this);
    return !visit.device() || visit.device()->isCloseOK();
}

void ProcessDevice::getDeviceInfo(void* record)
{
    if (record)
        DeviceInfoRecord::fill(static_cast<uint8_t*>(record), definition());
}

void ProcessDevice::getDeviceNameAndVersion(uint32_t* version, char* name)
{
    if (version)
        *version = DeviceInfoRecord::Version;
    if (name)
        copyText(name, definition().reWireDeviceName());
}

void ProcessDevice::getDeviceSignature(char* signature)
{
    if (signature)
        copyText(signature, definition().reWireSignature());
}

void ProcessDevice::setAudioInfo(const void* info)
{
    const Visit visit(*this);
    if (visit.device() && info)
        visit.device()->setAudioInfo(static_cast<const uint8_t*>(info));
}

void ProcessDevice::driveAudio(const void* input, void* output)
{
    const Visit visit(*this);
    if (visit.device() && input)
        visit.device()->driveAudio(static_cast<const uint8_t*>(input), static_cast<uint8_t*>(output));
}

void ProcessDevice::idle()
{
    const Visit visit(*this);
    if (visit.device())
        visit.device()->idle();
}

bool ProcessDevice::isPanelAppLaunched()
{
    const Visit visit(*this);
    return visit.device() && visit.device()->isPanelLaunched();
}

int32_t ProcessDevice::launchPanelApp()
{
    const Visit visit(*this);
    return visit.device() ? visit.device()->launchPanel() : ResultCode::PanelLaunchedWithoutDevice;
}

int32_t ProcessDevice::quitPanelApp()
{
    const Visit visit(*this);
    if (!visit.device())
        return ResultCode::Success;
    if (visit.device()->isPanelLaunched())
        visit.device()->quitPanel();
    return ResultCode::PanelQuit;
}

void ProcessDevice::getEventInfo(void* record)
{
    const Visit visit(*this);
    if (visit.device())
        visit.device()->getEventInfo(record);
}

void ProcessDevice::getEventBusInfo(uint16_t bus, void* record)
{
    const Visit visit(*this);
    if (visit.device())
        visit.device()->getEventBusInfo(bus, record);
}

void ProcessDevice::getEventChannelInfo(const void* channel, void* record)
{
    const Visit visit(*this);
    if (visit.device())
        visit.device()->getEventChannelInfo(channel, record);
}

void ProcessDevice::getEventControllerInfo(uint16_t bus, uint16_t controller, void* record)
{
    const Visit visit(*this);
    if (visit.device())
        visit.device()->getEventControllerInfo(bus, controller, record);
}

void ProcessDevice::getEventNoteInfo(uint16_t bus, uint16_t note, void* record)
{
    const Visit visit(*this);
    if (visit.device())
        visit.device()->getEventNoteInfo(bus, note, record);
}

} // namespace ReWire
