#pragma once
#include <gtest/gtest.h>

#include "core/Plugin.h"
#include "core/PluginFactory.h"
#include "io/ConfigFile.h"
#include "platform/ProcessInfo.h"
#include "platform/Shell.h"
#include "platform/UrlOpener.h"
#include "product/PluginFactoryImpl.h"
#include "shuttle/FileHandler.h"
#include "shuttle/Transform.h"
#include "support/FakeClock.h"
#include "support/TestEnvironment.h"
#include "ui/ClipThumbnail.h"
#include "ui/HelpViewer.h"
#include "ui/MultiText.h"
#include "ui/MainWindow.h"
#include "ui/PluginEditorWindow.h"
#include "ui/UpdateCheck.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace TestSupport {

inline int32_t quietWrapper(int32_t, uint32_t, uint32_t, void*, void*) { return 1; }

// Records what the window asks of the shell; starts and opens succeed.
struct RecordingShell final : Platform::Shell {
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::string>> started;
    int32_t open(const Util::String&, const Util::String& path, const Util::String&) override
    {
        opened.push_back(path);
        return Started;
    }
    int32_t start(const Util::String& program, const Util::String& parameters) override
    {
        started.emplace_back(program, parameters);
        return Started;
    }
};

// Records the addresses the window opens in the browser.
struct RecordingUrlOpener final : Platform::UrlOpener {
    std::vector<std::string> opened;
    bool openUrl(const Util::String& url) override
    {
        opened.push_back(url);
        return true;
    }
};

// The help pages asked for, and the document roots the viewers were made with.
struct HelpRecord {
    std::vector<std::string> roots;
    std::vector<uint32_t> pages;
};

struct RecordingHelp final : UI::HelpViewer {
    explicit RecordingHelp(HelpRecord& record) : record_(record) {}
    void showHelp(uint32_t pageId) const override { record_.pages.push_back(pageId); }
    HelpRecord& record_;
};

// The product's factory, with the editor's endpoints where the test says
// (nowhere by default) and windows whose help is recorded.
struct WindowTestFactory final : PluginFactory {
    // The process's one product factory (each one made installs its notice
    // dialog, which must outlive every notice).
    PluginFactory& product = PluginFactoryImpl::product();
    IPC::SocketPair::Endpoints endpoints{"tcp://127.0.0.1:9", "tcp://127.0.0.1:9", "tcp://127.0.0.1:9"};
    HelpRecord help;
    bool productWindow = false; // the product factory's window, without help

    const PluginDefinition& definition(const HostContext& c) const override { return product.definition(c); }
    std::unique_ptr<PluginEditor> createMainWindow(Plugin& plugin) override
    {
        if (productWindow)
            return product.createMainWindow(plugin);
        return UI::MainWindow::createEditor(plugin, [this](const Util::String& root) {
            help.roots.push_back(root);
            return std::make_unique<RecordingHelp>(help);
        });
    }
    std::unique_ptr<ElementSet> createElementSet(Plugin& plugin) override
    {
        return std::make_unique<DSP::Transform>(plugin, endpoints);
    }
    PluginCore* createPlugin(const CoreRecords::Creation& c) override { return new Plugin(c, *this); }
    std::unique_ptr<Context::ContextBase> createContext(Plugin& plugin) override { return product.createContext(plugin); }
};

// One instance as a host runs it, with its main window open off screen, on a
// fake clock: tick() lets 100 ms pass and idles the instance (the transform's
// pump and timers, then the window's), as the wrapper's idle service does.
class MainWindowFixture : public ::testing::Test {
protected:
    static constexpr const char* ProductKey = "SOFTWARE\\Quillex\\TW6Relay";

    void start(const char* hostProcess, uint32_t format = 2)
    {
        prepare(hostProcess);
        makePlugin(format);
    }

    // The host process's name, a fresh session folder and no settings.
    void prepare(const char* hostProcess)
    {
        Platform::overrideHostProcessFileName(hostProcess);
        session = makeTempFolder("session");
        Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
        for (const char* key : {ProductKey, UI::MainWindow::EditorRequestsKey, UI::UpdateCheck::SettingsKey})
            Util::ConfigFile(key).RemoveKey("");
        Platform::installShell(&shell);
        Platform::installUrlOpener(&browser);
    }

    void makePlugin(uint32_t format = 2)
    {
        CoreRecords::Creation c;
        c.callback = &quietWrapper;
        c.name = "Window Test";
        c.sampleRate = 48000.0f;
        c.channelConfiguration = 1;
        c.hostContext.setFormatIdentifier(format);
        plugin = std::make_unique<Plugin>(c, factory);
        transform = dynamic_cast<DSP::Transform*>(&plugin->elementSet());
        ASSERT_NE(transform, nullptr);
    }

    void TearDown() override
    {
        plugin.reset();
        Platform::installShell(nullptr);
        Platform::installUrlOpener(nullptr);
        Platform::overrideHostProcessFileName("");
    }

    // Selector 28, code 0 without a parent: the window opens off screen.
    UI::MainWindow& openWindow()
    {
        PluginEditor::OpenRequest request;
        request.width = 470;
        request.height = 276;
        EXPECT_EQ(plugin->openEditor(request), 0);
        return window();
    }
    UI::MainWindow& window() const
    {
        auto* editor = dynamic_cast<UI::PluginEditorWindow*>(plugin->editor());
        auto* main = editor ? dynamic_cast<UI::MainWindow*>(editor->window()) : nullptr;
        if (!main)
            throw std::logic_error("no main window is open");
        return *main;
    }

    void tick(uint32_t ms = UI::MainWindow::PipeIntervalMs)
    {
        clock.advance(ms);
        plugin->idle();
    }

    // Blocks through the instance, as selector 22 hands them on; an analysis
    // pass (flag A) is captured whatever the state.
    void block(bool analysisPass)
    {
        std::vector<float> left(256, 0.25f), right(256, -0.25f);
        float* channels[2] = {left.data(), right.data()};
        CoreRecords::Process record;
        record.frameCount = 256;
        record.channels = channels;
        record.transport = transportBytes.data();
        record.analysisPass = analysisPass;
        plugin->processBlock(record);
    }

    // A pass of `clips` clips as Pro Tools renders them: each clip ends when
    // processing stops, the pass when blocks have stopped for the time-out.
    void capturePass(int clips)
    {
        for (int i = 0; i < clips; ++i) {
            block(true);
            block(true);
            plugin->notifyElementSet();
        }
        // A host idles an open window all through a pass, so the window has
        // seen the capture under way before the pass ends.
        tick();
        // The pass times out through the transform alone, and the window's
        // next idle comes after the disk thread has finished the clips: an
        // idle racing the disk thread would see the capture either under way
        // or ended.
        clock.advance(Shuttle::FileHandler::TimeOutMs + 100);
        {
            Platform::ScopedLock hold(plugin->threadController().userInterface());
            transform->idle();
        }
        transform->drain();
    }

    void setState(uint32_t state) { transform->setState(DSP::ShuttleElement::State(state)); }

    std::string folder() const { return session + "/Relay"; }
    // Files named as the editor names the repaired clips.
    void leaveRepairedFiles(const std::string& host, int count)
    {
        std::filesystem::create_directories(folder());
        for (int n = 1; n <= count; ++n)
            std::ofstream(folder() + "/" + host + " " + std::to_string(n) + " [tw-relay] " + std::to_string(n) +
                          " repaired.wav")
                << "RIFF";
    }

    UI::Window* find(const char* name) const { return window().canvas().findChild(name); }
    template <typename T>
    T& find(const char* name) const
    {
        auto* w = dynamic_cast<T*>(window().canvas().findChild(name));
        if (!w)
            throw std::logic_error(std::string("no window ") + name);
        return *w;
    }
    // A click in the middle of a window, as the wrapper hands it on.
    void click(const UI::Window& target)
    {
        const UI::Rect r = target.canvasFrame();
        CoreRecords::EditorEvent event{};
        for (uint32_t kind : {2u, 3u}) {
            event.words[0] = kind;
            event.words[1] = uint32_t(r.left + r.width() / 2);
            event.words[2] = uint32_t(r.top + r.height() / 2);
            plugin->editorInputEvent(event);
        }
    }
    std::vector<UI::ClipThumbnail*> shownThumbnails() const
    {
        std::vector<UI::ClipThumbnail*> shown;
        for (auto* row : window().thumbnails())
            if (!row->isHidden())
                shown.push_back(row);
        return shown;
    }
    Util::ConfigFile settings{ProductKey};

    Platform::FakeClock clock{10000};
    WindowTestFactory factory;
    RecordingShell shell;
    RecordingUrlOpener browser;
    std::array<uint8_t, 136> transportBytes{};
    std::unique_ptr<Plugin> plugin;
    DSP::Transform* transform = nullptr;
    std::string session;
};

} // namespace TestSupport
