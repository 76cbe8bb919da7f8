#pragma once
#include "util/Text.h"

#include <functional>
#include <map>
#include <vector>

namespace UI {

class Canvas;
class Window;

// Creates windows from layout type names ("Radudar Label", ...). [ui-thread]
class WindowMaker {
public:
    // Makes a window named `name` as the last child of `parent`; returns it.
    using Creator = std::function<Window&(Canvas& canvas, Window& parent, const Util::String& name)>;

    // A type name already registered is not registered again (the first stands);
    // answers whether this registration took.
    bool registerType(const Util::String& type, Creator creator);
    // The new window, or null for an unknown type. Without a parent the window
    // goes to the canvas.
    Window* create(const Util::String& type, Canvas& canvas, Window* parent, const Util::String& name) const;
    // In registration order.
    const std::vector<Util::String>& typeNames() const { return order_; }

private:
    std::map<Util::String, Creator> creators_;
    std::vector<Util::String> order_;
};

} // namespace UI
