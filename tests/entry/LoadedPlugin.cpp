#include "LoadedPlugin.h"

#include <dlfcn.h>
#include <stdexcept>

LoadedPlugin::LoadedPlugin()
{
    handle_ = dlopen(RELAY_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        throw std::runtime_error(dlerror());
    entry_ = reinterpret_cast<Entry>(dlsym(handle_, "PluginCoreCallback"));
    if (!entry_)
        throw std::runtime_error("no PluginCoreCallback");
}

LoadedPlugin::~LoadedPlugin() { dlclose(handle_); }

void Wrapper::create(float sampleRate, uint32_t configuration, const std::string& name)
{
    Bytes record(3120);
    record.putPointer(0, reinterpret_cast<void*>(&Wrapper::reverse));
    record.putPointer(8, this);
    record.putText(16, name);
    record.put<uint32_t>(2064 + 1024, 2);
    record.putPointer(3096, &instance);
    record.put<float>(3104, sampleRate);
    record.put<uint32_t>(3108, configuration);
    if (plugin(1, 0, nullptr, *record) != 0 || !instance)
        throw std::runtime_error("create failed");
}

void Wrapper::destroy()
{
    if (instance)
        plugin(7, 0, instance, nullptr);
    instance = nullptr;
}

int32_t Wrapper::reverse(int32_t, uint32_t selector, uint32_t, void* handle, void* record)
{
    auto& w = *static_cast<Wrapper*>(handle);
    w.reverseSelectors.push_back(selector);
    if (w.during)
        w.during(w, selector);
    if (selector == 18 && record)
        std::memset(record, 0, 12);
    return selector == 13 ? 1 : 0; // no host application name from this wrapper
}
