#include "lv2/RelayUi.h"

#include <stdexcept>
#include <string>

namespace Lv2 {

RelayUi::RelayUi(const EditorInterface& editor, LV2_Handle instance, uint64_t parentWindow,
                 const LV2UI_Resize* resize)
    : editor_(editor), instance_(instance)
{
    if (const int32_t status = editor_.open(instance_, parentWindow); status != 0)
        throw std::runtime_error("the editor did not open (" + std::to_string(status) + ")");
    window_ = editor_.window(instance_);
    if (resize) {
        uint32_t width = 0, height = 0;
        editor_.size(instance_, &width, &height);
        resize->ui_resize(resize->handle, int(width), int(height));
    }
}

RelayUi::~RelayUi() { editor_.close(instance_); }

int RelayUi::idle()
{
    editor_.idle(instance_);
    return 0;
}

} // namespace Lv2
