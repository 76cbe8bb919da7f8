#pragma once
#include "param/Object.h"
#include "util/Text.h"

#include <variant>
#include <vector>

namespace Controller {

class KeyValueCoding;

// What a key names: nothing, a nested collection, or an object (a parameter).
using KeyValue = std::variant<std::monostate, KeyValueCoding*, Object*>;

// Access to named values by key, and by dotted key path ("Shuttle.Shuttle State").
class KeyValueCoding {
public:
    virtual ~KeyValueCoding() = default;
    virtual KeyValue ValueForKey(const Util::String& key) = 0;
    // Splits the path at its first "." and asks the collection named by the first part.
    virtual KeyValue ValueForKeyPath(const Util::String& keyPath);
    virtual std::vector<Util::String> AllKeys() const = 0;
};

// The object at `keyPath` as a T: null when there is none or it is of another kind.
template <typename T>
T* ValueForKeyPathAs(KeyValueCoding& coding, const Util::String& keyPath)
{
    const KeyValue value = coding.ValueForKeyPath(keyPath);
    auto* const* object = std::get_if<Object*>(&value);
    return object ? dynamic_cast<T*>(*object) : nullptr;
}

} // namespace Controller
