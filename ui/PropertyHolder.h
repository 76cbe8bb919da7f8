#pragma once
#include "ui/PropertyValue.h"

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace Util {

// Named, typed properties of an object. A class declares each property with
// its type name and default; values are set in C++ form or from their text
// form (layouts, style sheets). Problems are written to the log with the
// property system's report texts. [ui-thread]
class PropertyHolder {
public:
    virtual ~PropertyHolder() = default;

    bool hasProperty(const String& name) const { return properties_.count(name) != 0; }
    // The declared type name, or null.
    const String* propertyType(const String& name) const;
    // The current value, or null when there is no such property.
    const PropertyValue* property(const String& name) const;
    std::vector<String> propertyNames() const;

    // Sets a value of the property's C++ form; false (and reported) when the
    // property is missing or the value is of another form.
    bool setProperty(const String& name, const PropertyValue& value);
    // Sets a value from text of the named type; the type must be the property's.
    bool setPropertyFromText(const String& name, const String& type, std::string_view text);
    // The value's text form; reported and empty when the property is missing.
    std::optional<String> propertyText(const String& name) const;

protected:
    void declareProperty(const String& name, const String& type, PropertyValue defaultValue);
    // Called after a value changed.
    virtual void propertyChanged(const String& /*name*/) {}

    // Typed reads for the declaring class; the property must exist with that form.
    const String& stringProperty(const String& name) const { return get<String>(name); }
    bool boolProperty(const String& name) const { return get<bool>(name); }
    int32_t intProperty(const String& name) const { return get<int32_t>(name); }
    uint32_t uintProperty(const String& name) const { return get<uint32_t>(name); }
    float floatProperty(const String& name) const { return get<float>(name); }
    uint32_t enumProperty(const String& name) const { return get<EnumValue>(name).index; }
    template <typename T>
    const T& get(const String& name) const { return std::get<T>(properties_.at(name).value); }

private:
    struct Entry {
        String type;
        PropertyValue value;
    };
    std::map<String, Entry> properties_;
};

} // namespace Util
