#pragma once
#include "ui/Color.h"
#include "ui/Geometry.h"
#include "util/Text.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace Util {

// The C++ forms of the property value types. Each type name of the property
// system ("String", "Checked Color", an enumeration, ...) stores one of these.
struct ImageName {
    String name;
    bool operator==(const ImageName&) const = default;
};
struct KeyPath {
    String path; // dot-separated keys
    bool operator==(const KeyPath&) const = default;
};
struct FilePaths {
    std::vector<String> paths;
    bool operator==(const FilePaths&) const = default;
};
template <typename T>
struct Range {
    T low{};
    T high{};
    bool operator==(const Range&) const = default;
};
// A value that may be switched off ("none" in text form).
template <typename T>
struct Checked {
    bool checked = false;
    T value{};
    bool operator==(const Checked&) const = default;
};
// The index of a value of an enumeration type.
struct EnumValue {
    uint32_t index = 0;
    bool operator==(const EnumValue&) const = default;
};

using PropertyValue = std::variant<String, bool, int32_t, uint32_t, float, UI::Color, ImageName, UI::Point, KeyPath,
                                   FilePaths, Range<float>, Range<uint32_t>, Checked<uint32_t>, Checked<float>,
                                   Checked<UI::Color>, Checked<UI::Point>, Checked<UI::Rect>, EnumValue>;

} // namespace Util
