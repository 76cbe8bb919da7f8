#pragma once
#include <string>

#include "core/EntryProtocol.h"

namespace Wrapper {

// The plug-in library loaded with dlopen, as a format wrapper loads it; only
// PluginCoreCallback is looked up. Unloaded when this object goes: after every
// instance made through it. [ui-thread]; entry() [any-thread]
class PluginLibrary {
public:
    explicit PluginLibrary(const std::string& path); // throws std::runtime_error
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    EntryProtocol::Callback entry() const { return entry_; }

private:
    void* handle_ = nullptr;
    EntryProtocol::Callback entry_ = nullptr;
};

} // namespace Wrapper
