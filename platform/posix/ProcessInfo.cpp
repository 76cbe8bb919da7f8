#include "platform/ProcessInfo.h"

#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

namespace Platform {

namespace {
std::mutex overrideMutex;
Util::String overrideName;

Util::String readArgv0()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string argv0 = all.substr(0, all.find('\0'));
    const auto slash = argv0.find_last_of("/\\");
    return slash == std::string::npos ? argv0 : argv0.substr(slash + 1);
}
} // namespace

Util::String hostProcessFileName()
{
    {
        std::lock_guard<std::mutex> lock(overrideMutex);
        if (!overrideName.empty())
            return overrideName;
    }
    return readArgv0();
}

void overrideHostProcessFileName(const Util::String& name)
{
    std::lock_guard<std::mutex> lock(overrideMutex);
    overrideName = name;
}

Util::String moduleFolder()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void*>(&moduleFolder), &info) == 0 || !info.dli_fname)
        return {};
    std::error_code ec;
    const auto file = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? Util::String() : file.parent_path().string();
}

} // namespace Platform
