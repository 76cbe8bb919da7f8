#include "core/PluginFactoryImpl.h"

#include "core/Plugin.h"
#include "ui/PluginEditorWindow.h"

PluginFactory& PluginFactory::instance()
{
    // Created on first use; lives until the library unloads.
    static PluginFactoryImpl factory;
    return factory;
}

std::unique_ptr<PluginEditor> PluginFactoryImpl::createMainWindow(Plugin&) { return UI::createPluginEditor(); }

PluginCore* PluginFactoryImpl::createPlugin(const CoreRecords::Creation& creation)
{
    return new Plugin(creation, *this);
}
