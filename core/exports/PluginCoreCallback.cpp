// The library's entry point. Kept out of the relay_core archive so that the
// linker exports it from the shared library while every archive symbol stays
// hidden. Nothing thrown inside crosses it.
#include "core/EntryBarrier.h"
#include "core/PluginCoreCallback.h"

extern "C" int32_t PluginCoreCallback(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance,
                                      void* record)
{
    return EntryBarrier::call(protocol, selector, lockIndex, instance, record);
}
