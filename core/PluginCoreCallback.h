#pragma once
#include <cstdint>

#include "core/EntryProtocol.h"

// The one entry point of the plug-in library, and the shape of the wrapper's
// callback that the core calls back through (the reverse direction).
using PluginCoreCallbackFn = EntryProtocol::Callback;

extern "C" {
__attribute__((visibility("default"))) int32_t PluginCoreCallback(int32_t protocol, uint32_t selector, uint32_t lockIndex,
                                                                  void* instance, void* record);
}
