#pragma once
#include <optional>

#include "util/TypedValue.h"

namespace Util {

// A typed dictionary as JSON text: every member is {"Type": name, "Value": value},
// members in key order, indented as the JSON library writes for people. [any-thread]
class TypedDictionaryJson {
public:
    static String write(const TypedDictionary& dictionary);
    // Nothing when the text is not JSON, not an object, or a member (at any depth)
    // lacks "Type" or "Value", names an unknown type or holds a value of another kind.
    static std::optional<TypedDictionary> read(const String& text);
};

} // namespace Util
