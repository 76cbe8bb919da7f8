#pragma once
#include "ui/Color.h"
#include "util/Text.h"

#include <map>
#include <vector>

namespace UI {

class StyleSheet;

// The named colours of the widget set ("LabelBrightTextColor", ...). Built-in
// values; the style sheet's class "TWPalette" may replace any of them with a
// "Color" or "Checked Color" entry. [ui-thread]
class TWPalette {
public:
    TWPalette();
    void applyStyleSheet(StyleSheet& sheet);

    // The colour of a key; an unknown key gives the normal text colour.
    Color color(const Util::String& key) const;
    bool has(const Util::String& key) const { return colors_.count(key) != 0; }
    void set(const Util::String& key, Color color) { colors_[key] = color; }
    // Every key, in name order.
    std::vector<Util::String> names() const;

private:
    std::map<Util::String, Color> colors_;
};

} // namespace UI
