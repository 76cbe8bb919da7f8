#pragma once
#include <cstdint>
#include <string>

// The plug-in library loaded with dlopen; only PluginCoreCallback is looked up.
class PluginLibrary {
public:
    using Entry = int32_t (*)(int32_t, uint32_t, uint32_t, void*, void*);

    explicit PluginLibrary(const std::string& path); // throws std::runtime_error
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    int32_t call(uint32_t selector, uint32_t lockIndex, void* instance, void* record) const
    {
        return entry_(1079, selector, lockIndex, instance, record);
    }

private:
    void* handle_ = nullptr;
    Entry entry_ = nullptr;
};
