// The plug-in's X11 UI loaded from the installed bundle, as a host loads it:
// the editor inside the host's window at the declared size, idled by the
// host, gone with the UI; a host without the features it needs gets no UI.
#include <gtest/gtest.h>

#include "InstalledBundle.h"
#include "Lv2Host.h"
#include "io/ConfigFile.h"
#include "ipc/StandinProcess.h"
#include "support/TestEnvironment.h"
#include "support/TestDisplay.h"
// Xlib last: its macros (Bool, None) break the LV2 headers above.
#include "X11Windows.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <thread>
#include <dlfcn.h>
#include <lv2/data-access/data-access.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

using namespace Lv2Test;

namespace {

class PluginUi : public testing::Test {
protected:
    void SetUp() override
    {
        if (!TestSupport::TestDisplay::readyForWindows())
            return;
        display = TestSupport::TestDisplay::connection();
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 400, 0, 0, 0);
        XSync(display, False);
        host = std::make_unique<Lv2Host>(InstalledBundle::pluginModule());
        instance = std::make_unique<Lv2Instance>(*host, InstalledBundle::Stereo, 2);
        module = dlopen(InstalledBundle::uiModule().c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        auto entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(module, "lv2ui_descriptor"));
        ASSERT_NE(entry, nullptr);
        ui = entry(0);
        ASSERT_NE(ui, nullptr);
        dataAccess.data_access = extensionOfPlugin;
        current = instance.get();
    }

    void TearDown() override
    {
        if (module)
            dlclose(module);
        if (display && parent)
            XDestroyWindow(display, parent);
    }

    static const void* extensionOfPlugin(const char* uri) { return current->extension(uri); }
    static int resized(LV2UI_Feature_Handle handle, int width, int height)
    {
        auto* size = static_cast<std::pair<int, int>*>(handle);
        *size = {width, height};
        return 0;
    }

    struct Offer {
        bool parent = true, instanceAccess = true, dataAccess = true;
    };
    LV2UI_Handle open(Offer offer, LV2UI_Widget* widget)
    {
        parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(uintptr_t(parent))};
        instanceFeature = {LV2_INSTANCE_ACCESS_URI, instance->handle()};
        dataFeature = {LV2_DATA_ACCESS_URI, &dataAccess};
        resizeFeature = {LV2_UI__resize, &resize};
        std::vector<const LV2_Feature*> features{&resizeFeature};
        if (offer.parent)
            features.push_back(&parentFeature);
        if (offer.instanceAccess)
            features.push_back(&instanceFeature);
        if (offer.dataAccess)
            features.push_back(&dataFeature);
        features.push_back(nullptr);
        return ui->instantiate(ui, InstalledBundle::Stereo, InstalledBundle::bundle().c_str(), nullptr, nullptr,
                               widget, features.data());
    }

    static inline Lv2Instance* current = nullptr;
    Display* display = nullptr;
    Window parent = 0;
    std::unique_ptr<Lv2Host> host;
    std::unique_ptr<Lv2Instance> instance;
    void* module = nullptr;
    const LV2UI_Descriptor* ui = nullptr;
    LV2_Extension_Data_Feature dataAccess{};
    std::pair<int, int> size{0, 0};
    LV2UI_Resize resize{&size, resized};
    LV2_Feature parentFeature{}, instanceFeature{}, dataFeature{}, resizeFeature{};
};

} // namespace

TEST_F(PluginUi, TheEditorOpensInTheHostsWindowAtItsSizeIdlesAndCloses)
{
    if (!display)
        return;
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle handle = open({}, &widget);
    ASSERT_NE(handle, nullptr);
    const auto editor = Window(reinterpret_cast<uintptr_t>(widget));
    ASSERT_NE(editor, 0u);
    const auto children = childWindows(display, parent);
    EXPECT_NE(std::find(children.begin(), children.end(), editor), children.end());
    EXPECT_EQ(size, std::make_pair(470, 276));

    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(idle->idle(handle), 0);

    ui->cleanup(handle);
    EXPECT_TRUE(childWindows(display, parent).empty());
}

TEST_F(PluginUi, WithoutAFeatureItNeedsThereIsNoUiAndThePluginRuns)
{
    if (!display)
        return;
    const struct {
        const char* what;
        Offer offer;
    } cases[] = {
        {"no parent window", {false, true, true}},
        {"no instance-access", {true, false, true}},
        {"no data-access", {true, true, false}},
    };
    for (const auto& c : cases) {
        LV2UI_Widget widget = nullptr;
        EXPECT_EQ(open(c.offer, &widget), nullptr) << c.what;
        EXPECT_TRUE(childWindows(display, parent).empty()) << c.what;
    }
    instance->input(0).assign(Lv2Instance::BlockFrames, 0.25f);
    instance->run(Lv2Instance::BlockFrames);
    EXPECT_EQ(instance->output(0), instance->input(0));
}

// The whole round trip through the wrapper, with the editor stand-in on the
// editor's ports and the window open in the host's: a Preview pass is sent,
// the stand-in repairs it (a gain of 0.5) and tells the plug-in (message 4),
// the window loads it, and the next Process pass plays it in place of the
// host's audio. The host's worker and UI idle drive the plug-in meanwhile.
TEST_F(PluginUi, ARepairedClipComesBackThroughTheWindowAndPlaysInTheNextProcessPass)
{
    if (!display)
        return;
    const std::string session = TestSupport::makeTempFolder("session");
    Util::ConfigFile("SOFTWARE\\Quillex\\VO6").SetString("Option/SessionDataFolder", session);
    Util::ConfigFile product("SOFTWARE\\Quillex\\TW6Relay");
    product.RemoveValue("ReadyToWrite");
    product.SetBool("Reference Clip", false); // REPAIR
    product.SetString("InstallPath", session + "/no editor here");
    TestSupport::StandinProcess editor({"--folder", session + "/Relay"}, true);
    instance = std::make_unique<Lv2Instance>(*host, InstalledBundle::Stereo, 2);
    current = instance.get();

    LV2UI_Widget widget = nullptr;
    LV2UI_Handle handle = open({}, &widget);
    ASSERT_NE(handle, nullptr);
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(ui->extension_data(LV2_UI__idleInterface));
    const auto idleUntil = [&](const std::function<bool()>& done) {
        for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
             std::chrono::steady_clock::now() < end;) {
            instance->work();
            idle->idle(handle);
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    };
    editor.command("count 0");
    ASSERT_TRUE(idleUntil([&] { return !editor.expect("RECV editor-reply", std::chrono::milliseconds(5)).empty(); }))
        << "the editor link did not come up";

    constexpr int Blocks = 40;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    std::vector<std::vector<float>> sent(Blocks * 2, std::vector<float>(Lv2Instance::BlockFrames));
    for (auto& channel : sent)
        for (auto& sample : channel)
            sample = noise(random);
    const auto pass = [&](float control) {
        instance->pass = control;
        std::vector<std::vector<float>> out;
        for (int b = 0; b < Blocks; ++b) {
            for (uint32_t c = 0; c < 2; ++c)
                instance->input(c) = sent[size_t(b * 2 + c)];
            instance->run(Lv2Instance::BlockFrames);
            for (uint32_t c = 0; c < 2; ++c)
                out.push_back(instance->output(c));
        }
        return out;
    };

    EXPECT_TRUE(pass(1.0f) == sent) << "a Preview pass passes the audio";
    instance->pass = 0.0f;
    instance->input(0).assign(Lv2Instance::BlockFrames, 0.0f);
    instance->input(1).assign(Lv2Instance::BlockFrames, 0.0f);
    instance->run(Lv2Instance::BlockFrames); // back to Process: the clip ends
    ASSERT_NE(editor.expect("RECV request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 01 -- enum 1"), "");
    ASSERT_NE(editor.expect("SENT editor-request frames=2 IPC_EnumMessage | 93 02 ce 33 55 46 30 04"), "");
    ASSERT_TRUE(idleUntil([&] { return instance->savedShuttleState() == 3; })) << "the window never loaded the clip";

    const auto played = pass(0.0f);
    ASSERT_EQ(played.size(), sent.size());
    for (size_t c = 0; c < sent.size(); ++c)
        for (size_t f = 0; f < sent[c].size(); ++f)
            ASSERT_EQ(played[c][f], sent[c][f] * 0.5f) << "block " << c / 2 << " channel " << c % 2 << " frame " << f;
    ui->cleanup(handle);
}
