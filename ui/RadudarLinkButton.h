#pragma once
#include "ui/RadudarButton.h"

namespace UI::Radudar {

// A text link ("Radudar LinkButton"): "Title" in the accent colour, underlined
// under the pointer; "URL" is the address its owner opens on `clicked`.
class LinkButton : public Button {
public:
    LinkButton(Canvas& canvas, Window* parent, const Util::String& name);
    const Util::String& url() const { return stringProperty("URL"); }
    void draw(DrawContext& context) override;
};

} // namespace UI::Radudar
