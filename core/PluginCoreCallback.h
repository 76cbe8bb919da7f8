#pragma once
#include <cstdint>

// The one entry point of the plug-in library, and the shape of the wrapper's
// callback that the core calls back through (the reverse direction).
extern "C" {
typedef int32_t (*PluginCoreCallbackFn)(int32_t protocol, uint32_t selector, uint32_t index, void* instance, void* record);

__attribute__((visibility("default"))) int32_t PluginCoreCallback(int32_t protocol, uint32_t selector, uint32_t lockIndex,
                                                                  void* instance, void* record);
}

namespace EntryProtocol {
constexpr int32_t ProtocolNumber = 1079;
constexpr uint32_t SelectorCount = 41;

enum Result : int32_t {
    Success = 0,
    WrongProtocol = 1,
    BadLockIndex = 2,
    UnknownSelector = 3,
    NullInstance = 4,
    NullRecord = 5,
    Rejected = 6,
    EditorFailed = 7,
};
} // namespace EntryProtocol
