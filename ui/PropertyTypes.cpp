#include "ui/PropertyTypes.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace Util {

enum class PropertyTypes::Kind {
    String, Bool, Int, UInt, Float, Color, Image, Point, KeyPath, FilePaths,
    FloatRange, UIntRange, CheckedUInt, CheckedFloat, CheckedColor, CheckedPoint, CheckedRect
};

namespace {

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

template <typename T>
std::optional<T> number(std::string_view text)
{
    text = trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

String floatText(float v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", double(v));
    return buffer;
}

std::optional<bool> boolean(std::string_view text)
{
    text = trim(text);
    if (text == "true" || text == "1")
        return true;
    if (text == "false" || text == "0")
        return false;
    return std::nullopt;
}

template <typename T, size_t N>
std::optional<std::array<T, N>> numbers(std::string_view text)
{
    const auto parts = split(text, ',');
    if (parts.size() != N)
        return std::nullopt;
    std::array<T, N> out{};
    for (size_t i = 0; i < N; ++i) {
        const auto v = number<T>(parts[i]);
        if (!v)
            return std::nullopt;
        out[i] = *v;
    }
    return out;
}

std::optional<UI::Point> point(std::string_view text)
{
    const auto v = numbers<int, 2>(text);
    return v ? std::optional<UI::Point>(UI::Point{(*v)[0], (*v)[1]}) : std::nullopt;
}

std::optional<UI::Rect> rect(std::string_view text)
{
    const auto v = numbers<int, 4>(text);
    return v ? std::optional<UI::Rect>(UI::Rect::fromSize((*v)[0], (*v)[1], (*v)[2], (*v)[3])) : std::nullopt;
}

// "none" is an unchecked value; anything else must parse as the value.
template <typename T, typename Parse>
std::optional<PropertyValue> checked(std::string_view text, Parse parse)
{
    if (trim(text) == "none")
        return PropertyValue(Checked<T>{false, T{}});
    const std::optional<T> v = parse(text);
    if (!v)
        return std::nullopt;
    return PropertyValue(Checked<T>{true, *v});
}

String pointText(const UI::Point& p) { return Util::format("%1,%2", p.x, p.y); }

template <typename T, typename Format>
String checkedText(const Checked<T>& c, Format format)
{
    return c.checked ? format(c.value) : String("none");
}

} // namespace

PropertyTypes& PropertyTypes::instance()
{
    static PropertyTypes types;
    return types;
}

PropertyTypes::PropertyTypes()
    : builtIn_{{"String", Kind::String},
               {"Bool", Kind::Bool},
               {"Int", Kind::Int},
               {"UInt", Kind::UInt},
               {"Float", Kind::Float},
               {"Color", Kind::Color},
               {"Image", Kind::Image},
               {"Point", Kind::Point},
               {"KeyPath", Kind::KeyPath},
               {"FilePaths", Kind::FilePaths},
               {"Float Range", Kind::FloatRange},
               {"UInt Range", Kind::UIntRange},
               {"Checked UInt", Kind::CheckedUInt},
               {"Checked Float", Kind::CheckedFloat},
               {"Checked Color", Kind::CheckedColor},
               {"Checked Point", Kind::CheckedPoint},
               {"Checked Rect", Kind::CheckedRect}}
{
}

bool PropertyTypes::known(const String& type) const
{
    return builtIn_.count(type) != 0 || enumerations_.count(type) != 0;
}

void PropertyTypes::registerEnumeration(const String& type, std::vector<String> values)
{
    if (!known(type))
        enumerations_.emplace(type, std::move(values));
}

const std::vector<String>* PropertyTypes::enumeration(const String& type) const
{
    const auto it = enumerations_.find(type);
    return it == enumerations_.end() ? nullptr : &it->second;
}

std::vector<String> PropertyTypes::typeNames() const
{
    std::vector<String> names;
    for (const auto& [name, kind] : builtIn_)
        names.push_back(name);
    for (const auto& [name, values] : enumerations_)
        names.push_back(name);
    return names;
}

std::optional<PropertyValue> PropertyTypes::parse(const String& type, std::string_view text) const
{
    if (const auto* values = enumeration(type)) {
        for (size_t i = 0; i < values->size(); ++i)
            if ((*values)[i] == trim(text))
                return PropertyValue(EnumValue{uint32_t(i)});
        return std::nullopt;
    }
    const auto it = builtIn_.find(type);
    if (it == builtIn_.end())
        return std::nullopt;
    auto wrap = [](auto v) -> std::optional<PropertyValue> {
        if (!v)
            return std::nullopt;
        return PropertyValue(*v);
    };
    switch (it->second) {
    case Kind::String: return PropertyValue(String(text));
    case Kind::Bool: return wrap(boolean(text));
    case Kind::Int: return wrap(number<int32_t>(text));
    case Kind::UInt: return wrap(number<uint32_t>(text));
    case Kind::Float: return wrap(number<float>(text));
    case Kind::Color: return wrap(UI::Color::fromHex(trim(text)));
    case Kind::Image: return PropertyValue(ImageName{String(trim(text))});
    case Kind::Point: return wrap(point(text));
    case Kind::KeyPath: return PropertyValue(KeyPath{String(trim(text))});
    case Kind::FilePaths: {
        FilePaths paths;
        if (!trim(text).empty())
            for (auto part : split(text, ';'))
                paths.paths.emplace_back(trim(part));
        return PropertyValue(paths);
    }
    case Kind::FloatRange: {
        const auto v = numbers<float, 2>(text);
        return v ? std::optional<PropertyValue>(Range<float>{(*v)[0], (*v)[1]}) : std::nullopt;
    }
    case Kind::UIntRange: {
        const auto v = numbers<uint32_t, 2>(text);
        return v ? std::optional<PropertyValue>(Range<uint32_t>{(*v)[0], (*v)[1]}) : std::nullopt;
    }
    case Kind::CheckedUInt: return checked<uint32_t>(text, number<uint32_t>);
    case Kind::CheckedFloat: return checked<float>(text, number<float>);
    case Kind::CheckedColor: return checked<UI::Color>(text, [](std::string_view t) { return UI::Color::fromHex(trim(t)); });
    case Kind::CheckedPoint: return checked<UI::Point>(text, point);
    case Kind::CheckedRect: return checked<UI::Rect>(text, rect);
    }
    return std::nullopt;
}

String PropertyTypes::format(const String& type, const PropertyValue& value) const
{
    if (const auto* values = enumeration(type)) {
        const auto* e = std::get_if<EnumValue>(&value);
        return e && e->index < values->size() ? (*values)[e->index] : String();
    }
    return std::visit(
        [](const auto& v) -> String {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, String>)
                return v;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "true" : "false";
            else if constexpr (std::is_same_v<T, float>)
                return floatText(v);
            else if constexpr (std::is_integral_v<T>)
                return Util::toText(v);
            else if constexpr (std::is_same_v<T, UI::Color>)
                return v.toHex();
            else if constexpr (std::is_same_v<T, ImageName>)
                return v.name;
            else if constexpr (std::is_same_v<T, UI::Point>)
                return pointText(v);
            else if constexpr (std::is_same_v<T, KeyPath>)
                return v.path;
            else if constexpr (std::is_same_v<T, FilePaths>) {
                String joined;
                for (const auto& p : v.paths)
                    joined += (joined.empty() ? "" : ";") + p;
                return joined;
            } else if constexpr (std::is_same_v<T, Range<float>>)
                return floatText(v.low) + "," + floatText(v.high);
            else if constexpr (std::is_same_v<T, Range<uint32_t>>)
                return Util::format("%1,%2", v.low, v.high);
            else if constexpr (std::is_same_v<T, Checked<uint32_t>>)
                return checkedText(v, [](uint32_t x) { return Util::toText(x); });
            else if constexpr (std::is_same_v<T, Checked<float>>)
                return checkedText(v, floatText);
            else if constexpr (std::is_same_v<T, Checked<UI::Color>>)
                return checkedText(v, [](const UI::Color& c) { return c.toHex(); });
            else if constexpr (std::is_same_v<T, Checked<UI::Point>>)
                return checkedText(v, pointText);
            else if constexpr (std::is_same_v<T, Checked<UI::Rect>>)
                return checkedText(v, [](const UI::Rect& r) {
                    return Util::format("%1,%2,%3,%4", r.left, r.top, r.width(), r.height());
                });
            else
                return String(); // an enumeration value without its type
        },
        value);
}

} // namespace Util
