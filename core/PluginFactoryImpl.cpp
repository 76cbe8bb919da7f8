#include "core/PluginFactoryImpl.h"

#include "core/Plugin.h"
#include "core/PluginContext.h"
#include "shuttle/Transform.h"
#include "ui/PluginEditorWindow.h"

PluginFactory& PluginFactory::instance()
{
    // Created on first use; lives until the library unloads.
    static PluginFactoryImpl factory;
    return factory;
}

std::unique_ptr<PluginEditor> PluginFactoryImpl::createMainWindow(Plugin&) { return UI::createPluginEditor(); }

std::unique_ptr<ElementSet> PluginFactoryImpl::createElementSet(Plugin& plugin)
{
    return std::make_unique<DSP::Transform>(plugin);
}

PluginCore* PluginFactoryImpl::createPlugin(const CoreRecords::Creation& creation)
{
    return new Plugin(creation, *this);
}

std::unique_ptr<Context::ContextBase> PluginFactoryImpl::createContext(Plugin&)
{
    return std::make_unique<Context::PluginContext>();
}
