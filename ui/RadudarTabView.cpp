#include "ui/RadudarTabView.h"

#include "ui/Canvas.h"
#include "ui/DrawContext.h"
#include "ui/RadudarTab.h"

namespace UI::Radudar {

namespace {
constexpr int headingHeight = 22;
constexpr int headingWidth = 78;
} // namespace

TabView::TabView(Canvas& canvas, Window* parent, const Util::String& name) : Window(canvas, parent, name)
{
    setStyleClass("RadudarTabView");
}

Window& TabView::addPage(const Util::String& title)
{
    Tab& tab = Window::create<Tab>(*this, title + " Tab");
    tab.setProperty("Title", title);
    const int index = int(tabs_.size());
    connect(tab.clicked, [this, index] { select(index); });
    tabs_.push_back(&tab);
    Window& page = Window::create<Window>(*this, title);
    pages_.push_back(&page);
    layout();
    select(selected_ < 0 ? 0 : selected_);
    return page;
}

void TabView::select(int index)
{
    if (index < 0 || index >= int(pages_.size()))
        return;
    const bool changed = index != selected_;
    selected_ = index;
    for (size_t i = 0; i < pages_.size(); ++i) {
        tabs_[i]->setSelected(int(i) == index);
        pages_[i]->setVisible(int(i) == index);
    }
    if (changed)
        selected(index);
}

bool TabView::setMetric(int index, int value)
{
    if (index != 0)
        return Window::setMetric(index, value);
    select(value);
    return true;
}

void TabView::layout()
{
    for (size_t i = 0; i < tabs_.size(); ++i)
        tabs_[i]->setFrame(int(i) * (headingWidth + 2), 0, headingWidth, headingHeight);
    for (Window* page : pages_)
        page->setFrame(0, headingHeight, width(), height() - headingHeight);
}

void TabView::draw(DrawContext& context)
{
    const TWPalette& palette = canvas().palette();
    const Rect body{0, headingHeight, width() - 1, height() - 1};
    context.fillRect(body, palette.color("ControlBorder"));
    context.fillRect(Rect{1, body.top + 1, body.right - 1, body.bottom - 1}, palette.color("ControlFill"));
}

} // namespace UI::Radudar
