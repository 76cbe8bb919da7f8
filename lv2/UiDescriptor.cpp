// The LV2 entry of the plug-in's UI. It needs the host's parent window, the
// instance (instance-access) and the plug-in's extension data (data-access,
// for the editor table); a host without them gets no UI and still runs the
// plug-in.
#include "lv2/FeatureList.h"
#include "lv2/RelayUi.h"
#include "lv2/Uris.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <lv2/data-access/data-access.h>
#include <lv2/instance-access/instance-access.h>

namespace {

using Lv2::RelayUi;

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char*, const char*, LV2UI_Write_Function,
                         LV2UI_Controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    const Lv2::FeatureList found(features);
    const void* parent = found.find(LV2_UI__parent);
    const auto instance = static_cast<LV2_Handle>(const_cast<void*>(found.find(LV2_INSTANCE_ACCESS_URI)));
    const auto* access = static_cast<const LV2_Extension_Data_Feature*>(found.find(LV2_DATA_ACCESS_URI));
    if (!parent || !instance || !access) {
        std::fprintf(stderr, "TW Relay: no UI without the host's parent window, instance-access and data-access\n");
        return nullptr;
    }
    const auto* editor = static_cast<const Lv2::EditorInterface*>(access->data_access(Lv2::Uris::EditorInterface));
    if (!editor)
        return nullptr;
    try {
        auto* ui = new RelayUi(*editor, instance, uint64_t(reinterpret_cast<uintptr_t>(parent)),
                               static_cast<const LV2UI_Resize*>(found.find(LV2_UI__resize)));
        *widget = ui->widget();
        return ui;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "TW Relay: no UI: %s\n", e.what());
        return nullptr;
    }
}

void cleanup(LV2UI_Handle ui) { delete static_cast<RelayUi*>(ui); }

void portEvent(LV2UI_Handle, uint32_t, uint32_t, uint32_t, const void*) {}

int idle(LV2UI_Handle ui) { return static_cast<RelayUi*>(ui)->idle(); }

const LV2UI_Idle_Interface idleInterface{idle};

const void* extensionData(const char* uri) { return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr; }

const LV2UI_Descriptor descriptor{Lv2::Uris::Ui, instantiate, cleanup, portEvent, extensionData};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &descriptor : nullptr;
}
