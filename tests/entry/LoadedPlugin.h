#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The built plug-in library, loaded the way a wrapper loads it.
class LoadedPlugin {
public:
    using Entry = int32_t (*)(int32_t, uint32_t, uint32_t, void*, void*);
    LoadedPlugin();
    ~LoadedPlugin();
    int32_t operator()(uint32_t selector, uint32_t lockIndex, void* instance, void* record, int32_t protocol = 1079) const
    {
        return entry_(protocol, selector, lockIndex, instance, record);
    }

private:
    void* handle_ = nullptr;
    Entry entry_ = nullptr;
};

// A byte record under construction, as a wrapper builds it.
struct Bytes {
    std::vector<uint8_t> data;
    explicit Bytes(size_t size, uint8_t fill = 0) : data(size, fill) {}
    template <typename T>
    void put(size_t offset, T value) { std::memcpy(data.data() + offset, &value, sizeof(T)); }
    template <typename T>
    T get(size_t offset) const { T v; std::memcpy(&v, data.data() + offset, sizeof(T)); return v; }
    void putText(size_t offset, const std::string& text) { std::memcpy(data.data() + offset, text.c_str(), text.size() + 1); }
    void putPointer(size_t offset, const void* p) { put<uint64_t>(offset, reinterpret_cast<uintptr_t>(p)); }
    uint8_t* operator*() { return data.data(); }
};

// A wrapper for the integration tests: creates instances and answers reverse calls.
struct Wrapper {
    LoadedPlugin& plugin;
    void* instance = nullptr;
    std::vector<uint32_t> reverseSelectors;
    void (*during)(Wrapper&, uint32_t selector) = nullptr;
    void* context = nullptr;

    explicit Wrapper(LoadedPlugin& p) : plugin(p) {}
    ~Wrapper() { destroy(); }
    void create(float sampleRate = 48000.0f, uint32_t configuration = 1, const std::string& name = "Relay 1");
    void destroy();
    static int32_t reverse(int32_t, uint32_t selector, uint32_t, void* handle, void* record);
};

// The index of the second-list value shown under `name` (selectors 12 and 13);
// a test failure when there is none.
uint32_t secondListIndex(LoadedPlugin& plugin, void* instance, const std::string& name);
// A value of the second list (selector 14).
float secondValue(LoadedPlugin& plugin, void* instance, uint32_t index);
