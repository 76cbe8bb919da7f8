#include "core/PluginFactory.h"

#include <atomic>
#include <stdexcept>

namespace {
std::atomic<PluginFactory*> installed{nullptr};
} // namespace

PluginFactory& PluginFactory::instance()
{
    PluginFactory* factory = installed.load(std::memory_order_acquire);
    if (!factory)
        throw std::logic_error("No product factory is installed");
    return *factory;
}

void PluginFactory::install(PluginFactory& factory) { installed.store(&factory, std::memory_order_release); }
