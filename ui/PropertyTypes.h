#pragma once
#include "ui/PropertyValue.h"

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace Util {

// The property value types by name, with their text forms:
//   "String" as is; "Bool" "true"/"false" (also "1"/"0"); "Int", "UInt" decimal;
//   "Float" decimal; "Color" RRGGBB or RRGGBBAA; "Image" a resource name;
//   "Point" "x,y"; "KeyPath" dot-separated keys; "FilePaths" paths joined by ';';
//   "Float Range", "UInt Range" "low,high"; "Checked <T>" the value's text, or
//   "none" when unchecked ("Checked Rect" is "x,y,width,height");
//   enumerations registered by window classes: one of their value names.
// Registration happens while windows are set up. [ui-thread]
class PropertyTypes {
public:
    static PropertyTypes& instance();

    bool known(const String& type) const;
    std::optional<PropertyValue> parse(const String& type, std::string_view text) const;
    String format(const String& type, const PropertyValue& value) const;

    // The first registration of a name stands.
    void registerEnumeration(const String& type, std::vector<String> values);
    const std::vector<String>* enumeration(const String& type) const;
    std::vector<String> typeNames() const;

private:
    PropertyTypes();
    enum class Kind;
    std::map<String, Kind> builtIn_;
    std::map<String, std::vector<String>> enumerations_;
};

} // namespace Util
