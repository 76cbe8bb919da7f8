#pragma once
#include <cstdint>

#include <lv2/ui/ui.h>

#include "lv2/EditorInterface.h"

namespace Lv2 {

// The plug-in's X11 UI: the core's editor opened inside the host's parent
// window, at the editor's fixed size, idled by the host's UI idle calls,
// closed with the UI. Everything runs on the host's UI thread. [ui-thread]
class RelayUi {
public:
    // Opens the editor; throws std::runtime_error when it cannot be opened.
    RelayUi(const EditorInterface& editor, LV2_Handle instance, uint64_t parentWindow, const LV2UI_Resize* resize);
    ~RelayUi();
    RelayUi(const RelayUi&) = delete;
    RelayUi& operator=(const RelayUi&) = delete;

    // The editor's own X11 window.
    LV2UI_Widget widget() const { return reinterpret_cast<LV2UI_Widget>(uintptr_t(window_)); }
    // 0: the UI stays open.
    int idle();

private:
    const EditorInterface& editor_;
    LV2_Handle instance_;
    uint64_t window_ = 0;
};

} // namespace Lv2
