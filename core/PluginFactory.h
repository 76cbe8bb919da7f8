#pragma once
#include <memory>

#include "core/ContextBase.h"
#include "param/ElementSet.h"
#include "core/PluginCore.h"
#include "core/PluginDefinition.h"
#include "core/PluginEditor.h"
#include "core/UsageReporter.h"

class Plugin;
namespace ConsoleCommand {
class Manager;
}

// The process-wide product factory: created on first use, kept until the library
// unloads. Owns the one product definition. Operations in slot order. The core
// knows only this interface; the product layer above it makes the factory and
// the library's entry installs it before the first call reaches the core.
class PluginFactory {
public:
    virtual ~PluginFactory() = default;
    // The product definition, for any host context. [any-thread]
    virtual const PluginDefinition& definition(const HostContext& context) const = 0;
    // The product's main window for an open editor; null when none can be made. [ui-thread]
    virtual std::unique_ptr<PluginEditor> createMainWindow(Plugin& plugin) = 0;
    // The instance's element set: the product transform over its DSP set. [any-thread]
    virtual std::unique_ptr<ElementSet> createElementSet(Plugin& plugin) = 0;
    // A new instance for selector 1. The wrapper owns it until selector 7. [any-thread]
    virtual PluginCore* createPlugin(const CoreRecords::Creation& creation) = 0;
    // The instance's context, kept in its saved state. [any-thread]
    virtual std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) = 0;
    // Where the instance's usage reports go; null: nowhere. [any-thread], not audio
    virtual std::unique_ptr<UsageReporter> createUsageReporter(Plugin&) { return nullptr; }
    // Adds the product's console commands to a new instance's manager. [any-thread], not audio
    virtual void registerConsoleCommands(Plugin&, ConsoleCommand::Manager&) {}

    // The installed factory; throws std::logic_error before one is installed. [any-thread]
    static PluginFactory& instance();
    // Installs the product's factory (the entry, and test and bench mains). [any-thread]
    static void install(PluginFactory& factory);
};
