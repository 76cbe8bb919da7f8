#pragma once
#include "ui/CommandManager.h"
#include "ui/ImageLibrary.h"
#include "ui/StyleSheet.h"
#include "ui/TWPalette.h"
#include "platform/TimerQueue.h"
#include "ui/Window.h"
#include "ui/WindowMaker.h"
#include "ui/WindowTree.h"

namespace UI {

class Image;
namespace Radudar {
class ContextMenu;
class TooltipWindow;
} // namespace Radudar

// The root of one window tree. It owns the services every window of the tree
// shares: the window maker (with the Radudar window set registered), the style
// sheet "UI/StyleSheet.json", the palette, the layout folder "UI/Layout", the
// timers, the images, the command manager, the shared tooltip window and the
// context menu. It keeps the area that needs drawing and draws the tree into
// an image. [ui-thread]
class Canvas : public Window {
public:
    Canvas(int width, int height, const Util::String& name = "Canvas");
    ~Canvas() override;

    WindowTree& tree() { return tree_; }
    WindowMaker& maker() { return maker_; }
    StyleSheet& styleSheet() { return styleSheet_; }
    TWPalette& palette() { return palette_; }
    TimerQueue& timers() { return timers_; }
    ImageLibrary& images() { return images_; }
    CommandManager& commands() { return commands_; }

    // The first window of that name in creation order, or null.
    Window* findWindow(const Util::String& name) const { return tree_.findFirst(name); }

    // Layouts: "<folder>/<name>.layout" below the layout folder.
    const Util::String& layoutFolder() const { return layoutFolder_; }
    Util::String layoutPath(const Util::String& layoutName) const;
    // A folder on disk tried before the resource table (design work); empty: none.
    void setLayoutDiskFolder(const Util::String& folder) { layoutDiskFolder_ = folder; }
    const Util::String& layoutDiskFolder() const { return layoutDiskFolder_; }
    // Applies the layout that `window` names (its layout name); false when it has
    // none or it could not be loaded.
    bool applyLayout(Window& window);
    bool loadLayout(const Util::String& path, Window* target);

    // The shared tooltip window, made on first use with the given delay (ms).
    Radudar::TooltipWindow& tooltipWindow(uint32_t delayMs = 600);
    Radudar::TooltipWindow* existingTooltipWindow() const { return tooltip_; }
    void attachContextMenu(Radudar::ContextMenu* menu) { contextMenu_ = menu; }
    Radudar::ContextMenu* contextMenu() const { return contextMenu_; }
    // An open popup closes when the pointer is pressed outside it.
    void setOpenPopup(Window* popup) { openPopup_ = popup; }
    Window* openPopup() const { return openPopup_; }

    // Drawing: the area marked since the last redraw, in canvas pixels.
    void invalidateArea(const Rect& area) { dirty_ = dirty_.unite(area.intersect(bounds())); }
    const Rect& dirtyArea() const { return dirty_; }
    // Draws the marked area into `target` (canvas-sized) and clears the mark;
    // returns the area drawn, empty when nothing needed drawing.
    Rect redraw(Image& target);
    // Draws everything.
    void renderAll(Image& target);

    void draw(DrawContext& context) override;

    // Hooks of the input routing (WindowTree).
    void pointerPressed();
    bool closePopupOutside(Point canvasPoint);
    bool showContextMenu(Point canvasPoint);
    void tooltipOwnerChanged();

private:
    void drawWindow(Window& window, const DrawContext& parentContext);

    WindowTree tree_;
    TimerQueue timers_;
    WindowMaker maker_;
    StyleSheet styleSheet_;
    TWPalette palette_;
    ImageLibrary images_;
    CommandManager commands_;
    Util::String layoutFolder_ = "UI/Layout";
    Util::String layoutDiskFolder_;
    Radudar::TooltipWindow* tooltip_ = nullptr;
    Radudar::ContextMenu* contextMenu_ = nullptr;
    Window* openPopup_ = nullptr;
    Rect dirty_;
};

} // namespace UI
