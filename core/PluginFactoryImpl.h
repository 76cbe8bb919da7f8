#pragma once
#include "core/PluginDefinitionImpl.h"
#include "core/PluginFactory.h"

class PluginFactoryImpl final : public PluginFactory {
public:
    const PluginDefinition& definition(const HostContext&) const override { return definition_; }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin& plugin) override;
    std::unique_ptr<ElementSet> createElementSet(Plugin& plugin) override;
    PluginCore* createPlugin(const CoreRecords::Creation& creation) override;
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override;

private:
    TWRelay::PluginDefinitionImpl definition_;
};
