#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace Platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const Util::String& path, Lifetime lifetime)
{
    // Local binding: the library's symbols never stand in for the host's.
    const int keep = lifetime == Lifetime::Process ? RTLD_NODELETE : 0;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | keep);
    if (!handle)
        return nullptr;
    return std::make_unique<DynamicLibrary>(Handle{handle}, path);
}

DynamicLibrary::DynamicLibrary(Handle handle, Util::String path) : handle_(handle.loaded), path_(std::move(path)) {}

DynamicLibrary::~DynamicLibrary() { ::dlclose(handle_); }

void* DynamicLibrary::symbol(const char* name) const { return ::dlsym(handle_, name); }

} // namespace Platform
