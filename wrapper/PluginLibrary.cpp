#include "wrapper/PluginLibrary.h"

#include <dlfcn.h>
#include <stdexcept>

namespace Wrapper {

PluginLibrary::PluginLibrary(const std::string& path)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        throw std::runtime_error("cannot load " + path + ": " + dlerror());
    entry_ = reinterpret_cast<EntryProtocol::Callback>(dlsym(handle_, "PluginCoreCallback"));
    if (!entry_) {
        dlclose(handle_);
        throw std::runtime_error(path + " has no PluginCoreCallback");
    }
}

PluginLibrary::~PluginLibrary() { dlclose(handle_); }

} // namespace Wrapper
