#pragma once
#include "core/Plugin.h"
#include "product/PluginFactoryImpl.h"
#include "ipc/SocketPair.h"
#include "platform/Shell.h"
#include "shuttle/MainWindowActions.h"
#include "shuttle/Transform.h"

#include <memory>
#include <string>
#include <vector>

// The product's factory, with the editor's endpoints where nothing listens
// unless a test puts its own editor there.
struct TestFactory final : PluginFactory {
    PluginFactory& product = PluginFactoryImpl::product();
    IPC::SocketPair::Endpoints endpoints{"tcp://127.0.0.1:9", "tcp://127.0.0.1:9", "tcp://127.0.0.1:9"};
    const PluginDefinition& definition(const HostContext& c) const override { return product.definition(c); }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin&) override { return nullptr; }
    std::unique_ptr<ElementSet> createElementSet(Plugin& plugin) override
    {
        return std::make_unique<DSP::Transform>(plugin, endpoints);
    }
    PluginCore* createPlugin(const CoreRecords::Creation& c) override { return new Plugin(c, *this); }
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override { return product.createContext(plugin); }
};

// A stereo 48 kHz instance of the product in plug-in format `format`, for the
// host the process presents itself as.
std::unique_ptr<Plugin> createInstance(TestFactory& factory, uint32_t format = 2);

struct RecordingWindow final : Shuttle::MainWindowActions {
    std::vector<std::string> calls;
    void showInfoText(const Util::String& text) override { calls.push_back("info: " + text); }
    void discardAction() override { calls.push_back("discard"); }
    void loadRepairedAction() override { calls.push_back("load"); }
    void setReference(bool reference) override { calls.push_back(reference ? "reference" : "repair"); }
};

// Records every program start instead of starting it.
struct RecordingShell final : Platform::Shell {
    std::vector<std::string> opened;
    bool keyWasSet = false; // "ShuttleOpenFilesAtStartUp" was set when the last program started
    int32_t open(const Util::String&, const Util::String& path, const Util::String&) override;
};
