#pragma once
#include "ui/Window.h"

#include <vector>

class Plugin;

namespace UI {

namespace Radudar {
class EditBox;
}

// Every element parameter of an instance in editable form: one row per
// parameter (element and name, a field with its value, its range or its
// choices). A value committed with Return is set on the instance's
// user-interface side as the host would set it; the field then shows what the
// parameter took. The panel's settings (every value) are saved to and loaded
// from a ".paramsettings" file, JSON: {"Param Settings": [{"Element",
// "Param", "Value"}...]}. Without a file dialog on this platform the file is
// "Param Panel.paramsettings" in the last folder used ("LastFolder" in the
// product's settings, the user's documents folder at first). [ui-thread]
class ParamPanel final : public Window {
public:
    static constexpr int RowHeight = 20;
    static constexpr const char* Extension = ".paramsettings";

    ParamPanel(Canvas& canvas, Window* parent, const Util::String& name, Plugin& plugin);

    // The panel's size for `rows` parameters.
    static int heightFor(uint32_t rows);
    static constexpr int Width = 460;

    uint32_t rowCount() const { return uint32_t(rows_.size()); }
    Radudar::EditBox& field(uint32_t row) const { return *rows_.at(row); }
    // Sets a parameter from text as a commit does; false when the text is no value of it.
    bool commit(uint32_t row, const Util::String& text);
    // Shows every parameter's current value again.
    void refresh();

    bool save(const Util::String& path) const;
    // Sets every parameter the file names; false when it cannot be read.
    bool load(const Util::String& path);
    // Where Save and Load go: the remembered folder plus the file name.
    Util::String settingsPath() const;

    void draw(DrawContext& context) override;

private:
    Util::String valueText(uint32_t row) const;
    std::optional<float> parse(uint32_t row, const Util::String& text) const;
    void remember(const Util::String& path) const;

    Plugin& plugin_;
    std::vector<Radudar::EditBox*> rows_;
};

} // namespace UI
