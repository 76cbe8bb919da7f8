#pragma once
#include "util/Text.h"

#include <string_view>
#include <vector>

class TiXmlElement;

namespace UI {

class Canvas;
class Window;

// Applies layout documents ("QxCanvasLayout-1" XML) to a window tree: it
// positions, hides and shows existing windows, creates new ones through the
// window maker and sets their properties. Every problem is reported to the log
// and the rest of the layout still applies. [ui-thread]
class LayoutLoader {
public:
    explicit LayoutLoader(Canvas& canvas) : canvas_(canvas) {}

    // Loads the layout at `path` (a resource name such as
    // "UI/Layout/Layout_MainWindow.layout"; the disk folder of the canvas, when
    // set, is tried first) and applies it to `target`, or to the canvas as a
    // whole when `target` is null. False when it could not be read or is not a
    // layout of format version 1.
    bool load(const Util::String& path, Window* target);
    // Applies layout text.
    bool apply(std::string_view xml, const Util::String& sourceName, Window* target);

private:
    struct Property {
        Util::String name;
        Util::String type;
        Util::String value;
    };

    bool load(const Util::String& path, Window* target, int depth);
    bool apply(std::string_view xml, const Util::String& sourceName, Window* target, int depth);
    void applyElement(const TiXmlElement& element, Window* parent, int depth);
    void walkChildren(const TiXmlElement& element, Window* window, int depth, std::vector<Property>& properties);
    void applyFrame(const TiXmlElement& element, Window& window, bool recordLayoutSize);
    void applyMetrics(const TiXmlElement& element, Window& window);
    void applyNestedLayout(const TiXmlElement& element, Window& window, int depth);
    void applyProperties(std::vector<Property>& properties, Window& window);

    Canvas& canvas_;
};

} // namespace UI
