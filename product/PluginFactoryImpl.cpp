#include "product/PluginFactoryImpl.h"

#include "core/Plugin.h"
#include "product/PluginContext.h"
#include "shuttle/Transform.h"
#include "ui/MessageBoxFace.h"
#include "ui/PluginEditorWindow.h"

PluginFactoryImpl::PluginFactoryImpl() : notices_(UI::MessageBoxFace::maker())
{
    Platform::installMessageBox(&notices_);
}

PluginFactory& PluginFactoryImpl::product()
{
    // Created on first use; lives until the library unloads.
    static PluginFactoryImpl factory;
    static const bool installed = (PluginFactory::install(factory), true);
    (void)installed;
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
