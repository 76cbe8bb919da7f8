#include "ui/LayoutWriter.h"

#include "ui/Window.h"

namespace UI {

namespace {
Util::String attribute(const Util::String& text)
{
    Util::String out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "&#10;"; break;
        case '\t': out += "&#9;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

void writeWindow(const Window& window, int depth, Util::String& out)
{
    const Util::String indent(size_t(depth) * 2, ' ');
    const Rect& frame = window.frame();
    out += Util::format("%1<Child Name=\"%2\" X=\"%3\" Y=\"%4\" Width=\"%5\" Height=\"%6\"", indent,
                        attribute(window.name()), frame.left, frame.top, frame.width(), frame.height());
    if (window.isHidden())
        out += " Hidden=\"true\"";
    Util::String inside;
    for (const auto& name : window.propertyNames()) {
        const Util::String* type = window.propertyType(name);
        const auto value = window.propertyText(name);
        if (type && value)
            inside += Util::format("%1  <Property Name=\"%2\" Type=\"%3\" Value=\"%4\"/>\n", indent, attribute(name),
                                   attribute(*type), attribute(*value));
    }
    for (const auto& child : window.children())
        writeWindow(*child, depth + 1, inside);
    out += inside.empty() ? Util::String("/>\n") : ">\n" + inside + indent + "</Child>\n";
}
} // namespace

Util::String LayoutWriter::write(const Window& root)
{
    Util::String out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<QxCanvasLayout-1>\n";
    for (const auto& child : root.children())
        writeWindow(*child, 1, out);
    return out + "</QxCanvasLayout-1>\n";
}

} // namespace UI
