#include "platform/ProcessInfo.h"

#include <dlfcn.h>
#include <errno.h>
#include <filesystem>
#include <mutex>

namespace Platform {

namespace {
std::mutex overrideMutex;
Util::String overrideName;

// The C library keeps the process's argv[0]: reading it needs no file, so
// an instance made while the process has no descriptor left still knows its
// host.
Util::String readArgv0()
{
    const std::string argv0 = program_invocation_name ? program_invocation_name : "";
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
