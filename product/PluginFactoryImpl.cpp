#include "product/PluginFactoryImpl.h"

#include "analytics/AnalyticsManager.h"
#include "core/Plugin.h"
#include "help/HelpManager.h"
#include "product/PluginContext.h"
#include "shuttle/Transform.h"
#include "ui/MessageBoxFace.h"
#include "ui/MainWindow.h"

PluginFactoryImpl::PluginFactoryImpl() : notices_(UI::MessageBoxFace::maker())
{
    Platform::installMessageBox(&notices_);
}

// A factory that goes before the process ends takes its dialog with it, so no
// later notice reaches a destroyed box.
PluginFactoryImpl::~PluginFactoryImpl()
{
    if (&Platform::messageBox() == &notices_)
        Platform::installMessageBox(nullptr);
}

PluginFactory& PluginFactoryImpl::product()
{
    // Created on first use; lives until the library unloads.
    static PluginFactoryImpl factory;
    static const bool installed = (PluginFactory::install(factory), true);
    (void)installed;
    return factory;
}

// A new main window at every open of the editor, with the help manager for
// its Help button and the analytics commands registered with its canvas.
std::unique_ptr<PluginEditor> PluginFactoryImpl::createMainWindow(Plugin& plugin)
{
    auto* analytics = dynamic_cast<Analytics::AnalyticsManager*>(plugin.usageReporter());
    return UI::MainWindow::createEditor(
        plugin, [](const Util::String& documentRoot) { return std::make_unique<Help::HelpManager>(documentRoot); },
        [analytics](UI::MainPluginWindow& window) {
            if (analytics)
                analytics->registerCommands(window.canvas().commands());
        });
}

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

std::unique_ptr<UsageReporter> PluginFactoryImpl::createUsageReporter(Plugin& plugin)
{
    const PluginDefinition& definition = plugin.definition();
    const Util::String format = formatShortName(plugin.formatIdentifier());
    Analytics::AnalyticsManager::Product product;
    product.settingsKey = definition.analyticsSettingsKey().text;
    product.trackingId = AnalyticsTrackingId;
    product.applicationName = definition.plainProductName();
    product.applicationVersion = Util::format("%1.%2", definition.versionText().text, definition.buildNumber());
    product.customDimension1 = format.empty() ? "Unknown" : format; // the plug-in format
    product.productName = definition.plainProductName();
    product.allowed = !product.settingsKey.empty();
    return std::make_unique<Analytics::AnalyticsManager>(product);
}
