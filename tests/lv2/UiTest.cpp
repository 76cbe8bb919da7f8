// The plug-in's X11 UI loaded from the installed bundle, as a host loads it:
// the editor inside the host's window at the declared size, idled by the
// host, gone with the UI; a host without the features it needs gets no UI.
#include <gtest/gtest.h>

#include "InstalledBundle.h"
#include "Lv2Host.h"
#include "support/TestDisplay.h"
// Xlib last: its macros (Bool, None) break the LV2 headers above.
#include "X11Windows.h"

#include <X11/Xlib.h>
#include <algorithm>
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
