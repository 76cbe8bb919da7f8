#include "LoadedPlugin.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
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

uint32_t secondListIndex(LoadedPlugin& plugin, void* instance, const std::string& name)
{
    constexpr size_t InfoRecordSize = 4392;
    constexpr size_t DisplayNameOffset = 256;
    uint32_t count = 0;
    EXPECT_EQ(plugin(12, 1, instance, &count), 0);
    std::vector<uint8_t> records(InfoRecordSize * count);
    Bytes request(16);
    request.put<uint32_t>(0, count);
    request.putPointer(8, records.data());
    EXPECT_EQ(plugin(13, 1, instance, *request), 0);
    for (uint32_t i = 0; i < count; ++i)
        if (name == reinterpret_cast<const char*>(records.data() + i * InfoRecordSize + DisplayNameOffset))
            return i;
    ADD_FAILURE() << "no value named " << name;
    return 0;
}

float secondValue(LoadedPlugin& plugin, void* instance, uint32_t index)
{
    Bytes record(8);
    record.put<uint32_t>(0, index);
    EXPECT_EQ(plugin(14, 1, instance, *record), 0);
    return record.get<float>(4);
}
