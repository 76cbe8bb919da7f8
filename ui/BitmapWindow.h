#pragma once
#include "ui/Window.h"

namespace UI {

// Shows one image of the resource table ("Image" property) at its top-left
// corner, clipped to the window. Style-sheet class "BitmapWindow".
class BitmapWindow : public Window {
public:
    BitmapWindow(Canvas& canvas, Window* parent, const Util::String& name, const Util::String& image = {});

    void setImage(const Util::String& name) { setProperty("Image", Util::ImageName{name}); }
    const Util::String& imageName() const { return get<Util::ImageName>("Image").name; }
    void draw(DrawContext& context) override;
};

} // namespace UI
