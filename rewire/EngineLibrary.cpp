#include "rewire/EngineLibrary.h"

#include "platform/Folders.h"
#include "platform/SystemFacts.h"
#include "rewire/ResultCode.h"

namespace ReWire {

namespace {

template <typename Function>
bool bindOne(const Platform::DynamicLibrary& library, const char* name, Function& slot)
{
    slot = reinterpret_cast<Function>(library.symbol(name));
    return slot != nullptr;
}

} // namespace

EngineLibrary& EngineLibrary::process()
{
    static EngineLibrary engine;
    return engine;
}

EngineLibrary::EngineLibrary() = default;

EngineLibrary::~EngineLibrary() = default;

bool EngineLibrary::platformSupported()
{
    using Family = Platform::SystemFacts::Version::Family;
    const auto version = Platform::systemFacts().version();
    if (!version)
        return false;
    switch (version->family) {
    case Family::Windows9x:
        return version->major > 4 || (version->major == 4 && version->minor > 0);
    case Family::WindowsNT:
        return version->major >= 4;
    case Family::Posix:
        return true;
    }
    return false;
}

std::unique_ptr<Platform::DynamicLibrary> EngineLibrary::findLibrary()
{
    const Util::String folder = Platform::commonProgramFilesFolder() + Folder;
    for (const char* name : FileNames) {
        const Util::String path = Platform::toNativePath(folder + name);
        if (path.size() >= MaxPathLength)
            continue;
        if (auto library = Platform::DynamicLibrary::load(path))
            return library;
    }
    return nullptr;
}

bool EngineLibrary::versionAccepted(const Platform::DynamicLibrary& library)
{
    const auto* version = static_cast<const uint16_t*>(library.symbol(Engine::VersionSymbol));
    return version && version[0] == Engine::RequiredMajor && version[1] >= Engine::LeastMinor;
}

bool EngineLibrary::bind(const Platform::DynamicLibrary& library, Slots& slots)
{
    const bool all = bindOne(library, "RWDOpenImp", slots.open) &&
                     bindOne(library, "RWDIsCloseOKImp", slots.isCloseOK) &&
                     bindOne(library, "RWDCloseImp", slots.close) &&
                     bindOne(library, "RWIsReWireMixerAppRunningImp", slots.isMixerRunning) &&
                     bindOne(library, "RWDComCreateImp", slots.channelCreate) &&
                     bindOne(library, "RWDComCheckConnectionImp", slots.connectionCheck) &&
                     bindOne(library, "RWDComDestroyImp", slots.channelDestroy) &&
                     bindOne(library, "RWDComDoesMessageFitImp", slots.messageFits) &&
                     bindOne(library, "RWDComSendImp", slots.send) &&
                     bindOne(library, "RWDComReadImp", slots.read) &&
                     bindOne(library, "RWDComBytesAvailableImp", slots.bytesAvailable);
    if (!all)
        slots = Slots{};
    return all;
}

int32_t EngineLibrary::load()
{
    if (isBound())
        return ResultCode::EngineAlreadyBound;
    if (!platformSupported())
        return ResultCode::PlatformNotSupported;
    auto library = findLibrary();
    if (!library)
        return ResultCode::EngineNotFound;
    Slots slots;
    if (!versionAccepted(*library) || !bind(*library, slots))
        return ResultCode::EngineTooOld;
    const int32_t opened = slots.open(InterfaceVersion);
    if (opened != ResultCode::Success)
        return opened;
    slots_ = slots;
    library_ = std::move(library);
    ++loadCount_;
    return ResultCode::Success;
}

void EngineLibrary::unload()
{
    if (!isBound())
        return;
    destroyChannel();
    slots_.close();
    slots_ = Slots{};
    if (loadCount_ > 0 && --loadCount_ == 0)
        library_.reset();
}

int32_t EngineLibrary::createChannel(const Util::String& signature)
{
    if (!isBound())
        return ResultCode::EngineNotFound;
    Engine::PortDescription ports[PortCount];
    for (auto& port : ports)
        port = {PortType, PortBufferSize, PortBufferSize};
    Engine::ChannelHandle channel = nullptr;
    const int32_t result = slots_.channelCreate(signature.c_str(), ChannelValue, ports, PortCount, &channel);
    if (result == ResultCode::Success)
        channel_ = channel;
    return result;
}

void EngineLibrary::destroyChannel()
{
    if (!channel_)
        return;
    slots_.channelDestroy(channel_);
    channel_ = nullptr;
}

int32_t EngineLibrary::checkConnection() const { return channel_ ? slots_.connectionCheck(channel_) : 0; }

int32_t EngineLibrary::bytesAvailable(int32_t port) const
{
    int32_t bytes = 0;
    if (channel_)
        slots_.bytesAvailable(channel_, port, &bytes);
    return bytes;
}

void EngineLibrary::read(int32_t port, void* buffer, int32_t capacity) const
{
    int32_t size = 0;
    if (channel_)
        slots_.read(channel_, port, capacity, buffer, &size);
}

} // namespace ReWire
