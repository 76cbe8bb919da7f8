#pragma once
#include "util/Text.h"

#include <cstdint>
#include <span>

namespace Util {

// One named detail of an error, such as the path of the file involved.
struct ErrorContextEntry {
    String name;
    String value;
    bool operator==(const ErrorContextEntry&) const = default;
};

// An error kind of the audio-file layer, returned as a value instead of thrown:
// a category, a numeric code, a message and context entries. [any-thread]
class Error {
public:
    virtual ~Error() = default;
    virtual const String& Category() const = 0;
    virtual uint32_t Code() const = 0;
    virtual const String& Message() const = 0;
    virtual std::span<const ErrorContextEntry> Context() const = 0;
    // "<category> error <code>: <message>" followed by the context entries.
    virtual String Description() const = 0;
};

} // namespace Util
