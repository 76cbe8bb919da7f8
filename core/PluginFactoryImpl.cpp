#include "core/PluginFactoryImpl.h"

#include "core/Plugin.h"

PluginFactory& PluginFactory::instance()
{
    // Created on first use; lives until the library unloads.
    static PluginFactoryImpl factory;
    return factory;
}

std::unique_ptr<PluginEditor> PluginFactoryImpl::createMainWindow(Plugin&)
{
    // No window toolkit is linked into this build yet: opening fails cleanly (7).
    return nullptr;
}

PluginCore* PluginFactoryImpl::createPlugin(const CoreRecords::Creation& creation)
{
    return new Plugin(creation, *this);
}
