#pragma once
#include "ui/PropertyValue.h"

#include <json/value.h>

#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace UI {

// The style sheet: default property values per window class, read from a JSON
// document {"Classes": [{"ClassName", "Properties": [{"PropertyName",
// "PropertyType", "Value"}]}]}. Entries with a null class or property name are
// skipped. [ui-thread]
class StyleSheet {
public:
    // Loads a resource ("UI/StyleSheet.json"); false (reported) when it is missing or invalid.
    bool load(const Util::String& resourcePath);
    bool parse(std::string_view json, const Util::String& sourceName);

    // The default of a property of a class when the sheet has one of `type`; a
    // sheet entry of another type is reported once and gives nothing.
    std::optional<Util::PropertyValue> classDefault(const Util::String& className, const Util::String& property,
                                                    const Util::String& type);
    // Every (property name, type, value text) of a class.
    struct Entry {
        Util::String property;
        Util::String type;
        Util::String value;
    };
    std::vector<Entry> classEntries(const Util::String& className) const;
    size_t size() const { return entries_.size(); }

private:
    std::map<std::pair<Util::String, Util::String>, Entry> entries_;
    std::set<std::pair<Util::String, Util::String>> reported_;
};

} // namespace UI
