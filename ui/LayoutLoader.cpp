#include "ui/LayoutLoader.h"

#include "ui/Canvas.h"
#include "ui/PropertyTypes.h"
#include "ui/ResourceManager.h"
#include "ui/Window.h"
#include "ui/WindowMaker.h"
#include "util/Log.h"

#include <tinyxml.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace UI {

namespace {
constexpr const char* rootName = "QxCanvasLayout-1";
constexpr int maximumNesting = 8;

void report(const Util::String& message) { Util::Log::write(message); }

std::optional<int> intAttribute(const TiXmlElement& element, const char* name)
{
    const char* text = element.Attribute(name);
    if (!text)
        return std::nullopt;
    std::string_view s(text);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

bool has(const TiXmlElement& element, const char* name) { return element.Attribute(name) != nullptr; }

// The Name attribute, or the first text node of the element.
Util::String childName(const TiXmlElement& element)
{
    if (const char* name = element.Attribute("Name"))
        return name;
    const TiXmlNode* first = element.FirstChild();
    if (first && first->ToText())
        return first->ValueStr();
    return {};
}
} // namespace

bool LayoutLoader::load(const Util::String& path, Window* target) { return load(path, target, 0); }

bool LayoutLoader::apply(std::string_view xml, const Util::String& sourceName, Window* target)
{
    return apply(xml, sourceName, target, 0);
}

bool LayoutLoader::load(const Util::String& path, Window* target, int depth)
{
    const Util::String& diskFolder = canvas_.layoutDiskFolder();
    if (!diskFolder.empty()) {
        const std::filesystem::path file = std::filesystem::path(diskFolder) / path;
        std::error_code ec;
        if (std::filesystem::is_regular_file(file, ec)) {
            std::ifstream in(file, std::ios::binary);
            const Util::String text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (apply(text, file.string(), target, depth))
                return true;
        } else {
            report(Util::format("File %1 does not exist", file.string()));
        }
    }
    const auto data = ResourceManager::instance().find(path);
    if (!data) {
        report(Util::format("Can't load media layout [%1]. This is case-sensitive.", path));
        return false;
    }
    // A copy with a terminating zero byte, as the parser wants it.
    const Util::String text(reinterpret_cast<const char*>(data->bytes.data()), data->bytes.size());
    return apply(text, path, target, depth);
}

bool LayoutLoader::apply(std::string_view xml, const Util::String& sourceName, Window* target, int depth)
{
    TiXmlDocument document;
    const Util::String text(xml);
    document.Parse(text.c_str());
    const TiXmlElement* root = document.RootElement();
    if (document.Error() || !root) {
        report(Util::format("Can't parse layout [%1]: %2", sourceName, document.ErrorDesc()));
        return false;
    }
    if (root->ValueStr() != rootName) {
        report(Util::format("Invalid document type: %1", root->ValueStr()));
        return false;
    }
    if (target) {
        applyMetrics(*root, *target);
        if (has(*root, "X") || has(*root, "Width"))
            applyFrame(*root, *target, false);
        applyNestedLayout(*root, *target, depth);
    }
    std::vector<Property> properties;
    walkChildren(*root, target, depth, properties);
    if (target)
        applyProperties(properties, *target);
    return true;
}

void LayoutLoader::walkChildren(const TiXmlElement& element, Window* window, int depth, std::vector<Property>& properties)
{
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
        const Util::String& kind = child->ValueStr();
        if (kind == "Child" || kind == "NewChild") {
            applyElement(*child, window, depth);
        } else if (kind == "Property") {
            const char* name = child->Attribute("Name");
            const char* type = child->Attribute("Type");
            const char* value = child->Attribute("Value");
            if (name && type)
                properties.push_back({name, type, value ? value : ""});
        } else {
            report(Util::format("Unknown element \"%1\"", kind));
        }
    }
}

void LayoutLoader::applyElement(const TiXmlElement& element, Window* parent, int depth)
{
    Window* window = nullptr;
    if (element.ValueStr() == "Child") {
        const Util::String name = childName(element);
        window = parent ? parent->findChild(name) : canvas_.findWindow(name);
        if (!window) {
            report(Util::format("Child %1 not found", name));
            return;
        }
    } else {
        const char* type = element.Attribute("Type");
        if (!type)
            return;
        const char* nameText = element.Attribute("Name");
        const Util::String name = nameText ? nameText : "";
        window = canvas_.maker().create(type, canvas_, parent, name);
        if (!window) {
            report(Util::format("Could not create child %1 of type %2", name, type));
            return;
        }
        window->setCreatedByLayout(true);
        window->setLayoutName({}, false);
    }

    const char* hidden = element.Attribute("Hidden");
    const bool hide = hidden && Util::String(hidden) == "true";
    if (hide) {
        window->hide();
        window->setHiddenByLayout(true);
    } else if (!hidden && window->hiddenByLayout()) {
        window->show();
        window->setHiddenByLayout(false);
    }
    if (has(element, "X") || has(element, "Width")) {
        applyFrame(element, *window, true);
        if (hide)
            window->hide();
    }
    applyNestedLayout(element, *window, depth);
    applyMetrics(element, *window);

    std::vector<Property> properties;
    walkChildren(element, window, depth, properties);
    applyProperties(properties, *window);
}

void LayoutLoader::applyFrame(const TiXmlElement& element, Window& window, bool recordLayoutSize)
{
    const Rect& f = window.frame();
    const int x = intAttribute(element, "X").value_or(f.left);
    const int y = intAttribute(element, "Y").value_or(f.top);
    const int width = intAttribute(element, "Width").value_or(f.width());
    const int height = intAttribute(element, "Height").value_or(f.height());
    window.setFrame(x, y, width, height);
    if (recordLayoutSize)
        window.setLayoutSize(window.width(), window.height());
}

void LayoutLoader::applyMetrics(const TiXmlElement& element, Window& window)
{
    for (int n = 0;; ++n) {
        const auto value = intAttribute(element, Util::format("Metric%1", n).c_str());
        if (!value)
            return;
        window.setMetric(n, *value);
    }
}

void LayoutLoader::applyNestedLayout(const TiXmlElement& element, Window& window, int depth)
{
    const char* layout = element.Attribute("Layout");
    if (!layout || !*layout)
        return;
    if (depth >= maximumNesting) {
        report(Util::format("Layout %1 is nested too deeply", layout));
        return;
    }
    window.setLayoutName(layout, true);
    load(canvas_.layoutPath(layout), &window, depth + 1);
}

void LayoutLoader::applyProperties(std::vector<Property>& properties, Window& window)
{
    std::stable_sort(properties.begin(), properties.end(),
                     [](const Property& a, const Property& b) { return a.name < b.name; });
    for (const Property& p : properties) {
        if (!Util::PropertyTypes::instance().known(p.type)) {
            report(Util::format("Unhandled property type \"%1\"", p.type));
            continue;
        }
        window.setPropertyFromText(p.name, p.type, p.value);
    }
}

} // namespace UI
