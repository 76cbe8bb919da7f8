#pragma once
#include "ui/ToolWindow.h"

#include <memory>
#include <vector>

namespace UI {

namespace Radudar {
class EditBox;
}

// The palette editor: a window listing the named colours of a window tree's
// palette, each as RRGGBB in a field with a swatch beside it. A colour
// committed with Return replaces the palette's and redraws the tree at once;
// text that is no colour puts the current value back. The edited tree is
// followed through its life token: once it is gone, edits change nothing. [ui-thread]
class PaletteEditor final : public ToolWindow {
public:
    static constexpr int RowHeight = 20;

    PaletteEditor(Canvas& target, std::weak_ptr<void> targetLife);

    // The field of a colour, or null.
    Radudar::EditBox* field(const Util::String& key) const;
    // Sets a colour as a commit in its field does; false when the text is no colour.
    bool apply(const Util::String& key, const Util::String& text);

private:
    struct Row {
        Util::String key;
        Radudar::EditBox* field;
        Window* swatch;
    };
    Canvas* liveTarget() const;

    Canvas& target_;
    std::weak_ptr<void> targetLife_;
    std::vector<Row> rows_;
};

} // namespace UI
