#include "TestWrapper.h"

#include <cstring>

int32_t TestWrapper::callback(int32_t, uint32_t selector, uint32_t index, void* handle, void* record)
{
    auto& w = *static_cast<TestWrapper*>(handle);
    uint32_t first = 0;
    if (record && selector != 13)
        std::memcpy(&first, record, 4);
    w.calls.push_back({selector, index, first});
    if (w.during)
        w.during(selector);
    if (selector == 13 && record) {
        const uint64_t length = w.hostText.size();
        const uint64_t text = reinterpret_cast<uintptr_t>(w.hostText.c_str());
        auto* bytes = static_cast<uint8_t*>(record);
        std::memcpy(bytes, &length, 8);
        std::memcpy(bytes + 8, &text, 8);
        std::memcpy(bytes + 16, &w.hostVersion, 4);
    }
    if (selector == 1 && record) {
        Gesture g{};
        std::memcpy(&g.kind, record, 4);
        std::memcpy(&g.parameterIndex, static_cast<uint8_t*>(record) + 4, 4);
        std::memcpy(&g.value, static_cast<uint8_t*>(record) + 8, 4);
        w.gestures.push_back(g);
    }
    if (selector == 18 && record) {
        const uint32_t words[3] = {1, 2, 3};
        std::memcpy(record, words, sizeof words);
    }
    return 0;
}

CoreRecords::Creation TestWrapper::creation(float sampleRate, uint32_t configuration)
{
    CoreRecords::Creation c;
    c.callback = &TestWrapper::callback;
    c.wrapperHandle = this;
    c.name = "Relay Test";
    c.sampleRate = sampleRate;
    c.channelConfiguration = configuration;
    return c;
}
