#pragma once
#include "ui/Window.h"

#include <memory>

namespace UI {

class Image;
namespace Radudar {
class Label;
}

// One row of the main window's clip list: a waveform strip, gray for a
// captured clip and blue for a repaired one ("highlighted"), and its child
// label "Label" (for example "Pro Tools 3"), which keeps the right end of the
// row: the strip stops, on a whole bar, 14 pixels short of the label's text.
// [ui-thread]
class ClipThumbnail : public Window {
public:
    static constexpr int Height = 35;
    static constexpr uint32_t LabelColor = 0x6b6b6b;
    static constexpr const char* GrayImage = "png/TW_Relay_Waveform_Gray.png";
    static constexpr const char* BlueImage = "png/TW_Relay_Waveform_Blue.png";

    ClipThumbnail(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& label = {});

    Radudar::Label& label() const { return *label_; }
    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return highlighted_; }
    // The width of the strip drawn: the row less the label's text and 14
    // pixels, cut to a multiple of 4 (a bar and its gap); 0 when nothing fits.
    int waveformWidth() const;

    // Places the label across the row and takes the images again.
    void layout() override;
    void draw(DrawContext& context) override;

private:
    Radudar::Label* label_;
    bool highlighted_ = false;
    std::shared_ptr<const Image> gray_;
    std::shared_ptr<const Image> blue_;
};

} // namespace UI
