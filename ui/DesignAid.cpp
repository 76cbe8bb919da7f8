#include "ui/DesignAid.h"

#include "ui/DrawContext.h"
#include "ui/RadudarLabel.h"

namespace UI {

namespace {

constexpr int Margin = 8;
constexpr int ViewSize = DesignAid::Span * DesignAid::Zoom;

// The magnified pixels, redrawn when what they show changed.
class Magnifier final : public Window {
public:
    using Window::Window;

    // True when the pixels or the point differ from what is shown.
    bool take(Point at, std::vector<Color> pixels)
    {
        if (at == at_ && pixels == pixels_)
            return false;
        at_ = at;
        pixels_ = std::move(pixels);
        invalidate();
        return true;
    }

    void draw(DrawContext& context) override
    {
        context.fillRect(bounds(), Color::rgb(0x000000));
        if (pixels_.empty())
            return;
        for (int y = 0; y < DesignAid::Span; ++y)
            for (int x = 0; x < DesignAid::Span; ++x)
                context.fillRect(Rect::fromSize(x * DesignAid::Zoom, y * DesignAid::Zoom, DesignAid::Zoom, DesignAid::Zoom),
                                 pixels_[size_t(y * DesignAid::Span + x)]);
        // The inspected pixel: a frame in black and white, seen on any colour.
        const Rect centre = Rect::fromSize(DesignAid::Radius * DesignAid::Zoom, DesignAid::Radius * DesignAid::Zoom,
                                           DesignAid::Zoom, DesignAid::Zoom);
        for (const auto& [inset, color] : {std::pair{0, Color::rgb(0x000000)}, std::pair{1, Color::rgb(0xffffff)}}) {
            const Rect r{centre.left + inset, centre.top + inset, centre.right - inset, centre.bottom - inset};
            context.fillRect({r.left, r.top, r.right, r.top}, color);
            context.fillRect({r.left, r.bottom, r.right, r.bottom}, color);
            context.fillRect({r.left, r.top, r.left, r.bottom}, color);
            context.fillRect({r.right, r.top, r.right, r.bottom}, color);
        }
    }

private:
    Point at_{-1, -1};
    std::vector<Color> pixels_;
};

} // namespace

DesignAid::DesignAid(Canvas& target, Native::HostWindow& targetHost, std::weak_ptr<void> targetLife)
    : ToolWindow("DesignAid HostWindow", "Design Aid", ViewSize + 2 * Margin, ViewSize + 2 * Margin + 24),
      target_(target),
      targetHost_(targetHost),
      targetLife_(std::move(targetLife))
{
    view_ = &Window::create<Magnifier>(canvas(), "Magnifier");
    view_->setFrame(Margin, Margin, ViewSize, ViewSize);
    label_ = &Window::create<Radudar::Label>(canvas(), "Readout");
    label_->setFrame(Margin, Margin + ViewSize + 4, ViewSize, 18);
}

Point DesignAid::cellCentre(int dx, int dy)
{
    return {Margin + (Radius + dx) * Zoom + Zoom / 2, Margin + (Radius + dy) * Zoom + Zoom / 2};
}

void DesignAid::onIdle()
{
    if (targetLife_.expired())
        return;
    const Image& image = targetHost_.image();
    const Point at = target_.tree().pointer();
    std::vector<Color> pixels;
    pixels.reserve(Span * Span);
    for (int y = at.y - Radius; y <= at.y + Radius; ++y)
        for (int x = at.x - Radius; x <= at.x + Radius; ++x)
            pixels.push_back(image.bounds().contains({x, y}) ? image.pixel(x, y).withAlpha(255) : Color::rgb(0x000000));
    if (!static_cast<Magnifier*>(view_)->take(at, pixels))
        return;
    const Color under = pixels[size_t(Radius * Span + Radius)];
    readout_ = Util::format("%1, %2  #%3", at.x, at.y, under.toHex());
    static_cast<Radudar::Label*>(label_)->setText(readout_);
}

} // namespace UI
