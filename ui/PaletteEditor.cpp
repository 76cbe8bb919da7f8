#include "ui/PaletteEditor.h"

#include "ui/DrawContext.h"
#include "ui/RadudarEditBox.h"
#include "ui/RadudarLabel.h"

#include <algorithm>

namespace UI {

namespace {

constexpr int Width = 360;
constexpr int Margin = 8;

// A filled square showing one palette colour of the edited tree.
class Swatch final : public Window {
public:
    Swatch(Canvas& canvas, Window* parent, const Util::String& name, Color color) : Window(canvas, parent, name), color_(color) {}
    void setColor(Color color)
    {
        color_ = color;
        invalidate();
    }
    Color color() const { return color_; }
    void draw(DrawContext& context) override
    {
        context.fillRect(bounds(), Color::rgb(0x000000));
        context.fillRect(Rect::fromSize(1, 1, width() - 2, height() - 2), color_);
    }

private:
    Color color_;
};

int heightFor(size_t rows) { return Margin * 2 + int(rows) * PaletteEditor::RowHeight; }

} // namespace

PaletteEditor::PaletteEditor(Canvas& target, std::weak_ptr<void> targetLife)
    : ToolWindow("PaletteEditor HostWindow", "Palette Editor", Width, heightFor(target.palette().names().size())),
      target_(target),
      targetLife_(std::move(targetLife))
{
    int y = Margin;
    for (const Util::String& key : target.palette().names()) {
        const Color color = target.palette().color(key);
        auto& label = Window::create<Radudar::Label>(canvas(), key + " Label", key);
        label.setFrame(Margin, y, 200, RowHeight - 4);
        auto& field = Window::create<Radudar::EditBox>(canvas(), key);
        field.setFrame(212, y, 100, RowHeight - 4);
        field.setText(color.toHex());
        auto& swatch = Window::create<Swatch>(canvas(), key + " Swatch", color);
        swatch.setFrame(320, y, RowHeight - 4, RowHeight - 4);
        canvas().connect(field.committed, [this, key](const Util::String& text) { apply(key, text); });
        rows_.push_back({key, &field, &swatch});
        y += RowHeight;
    }
}

Canvas* PaletteEditor::liveTarget() const { return targetLife_.expired() ? nullptr : &target_; }

Radudar::EditBox* PaletteEditor::field(const Util::String& key) const
{
    const auto it = std::find_if(rows_.begin(), rows_.end(), [&](const Row& r) { return r.key == key; });
    return it == rows_.end() ? nullptr : it->field;
}

bool PaletteEditor::apply(const Util::String& key, const Util::String& text)
{
    const auto it = std::find_if(rows_.begin(), rows_.end(), [&](const Row& r) { return r.key == key; });
    Canvas* target = liveTarget();
    if (it == rows_.end() || !target)
        return false;
    const auto color = Color::fromHex(text);
    if (!color) {
        it->field->setText(target->palette().color(key).toHex());
        return false;
    }
    target->palette().set(key, *color);
    target->invalidate();
    it->field->setText(color->toHex());
    static_cast<Swatch*>(it->swatch)->setColor(*color);
    return true;
}

} // namespace UI
