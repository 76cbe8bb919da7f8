// The library's entry point. Kept out of the layer archives so that the linker
// exports it from the shared library while every archive symbol stays hidden.
// It sits above the product layer: it makes sure the product's factory is the
// one the core sees before the first call reaches the core. Nothing thrown
// inside, making the factory included, crosses it.
#include "core/EntryBarrier.h"
#include "core/EntryDispatcher.h"
#include "core/PluginCoreCallback.h"
#include "product/PluginFactoryImpl.h"

extern "C" int32_t PluginCoreCallback(int32_t protocol, uint32_t selector, uint32_t lockIndex, void* instance,
                                      void* record)
{
    return EntryBarrier::guard(selector, [&] {
        PluginFactoryImpl::product();
        return EntryDispatcher::dispatch(protocol, selector, lockIndex, instance, record);
    });
}
