#pragma once
#include "product/PluginDefinitionImpl.h"
#include "core/PluginFactory.h"
#include "platform/posix/X11MessageBox.h"

// The composition root: makes the product's instances out of the layers below
// (the transform, the main window, the context) and shows the product's notices
// as dialogs drawn in its look.
class PluginFactoryImpl final : public PluginFactory {
public:
    PluginFactoryImpl();
    ~PluginFactoryImpl() override;
    PluginFactoryImpl(const PluginFactoryImpl&) = delete;
    PluginFactoryImpl& operator=(const PluginFactoryImpl&) = delete;

    // The one factory of the process, made and installed on first use. [any-thread]
    static PluginFactory& product();

    const PluginDefinition& definition(const HostContext&) const override { return definition_; }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin& plugin) override;
    std::unique_ptr<ElementSet> createElementSet(Plugin& plugin) override;
    PluginCore* createPlugin(const CoreRecords::Creation& creation) override;
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override;
    // The analytics manager, with the analytics store the definition names.
    std::unique_ptr<UsageReporter> createUsageReporter(Plugin& plugin) override;

    // The product's property at the measurement service.
    static constexpr const char* AnalyticsTrackingId = "UA-4412275-6";

private:
    TWRelay::PluginDefinitionImpl definition_;
    Platform::Posix::X11MessageBox notices_;
};
