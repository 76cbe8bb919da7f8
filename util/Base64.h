#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "util/Text.h"

namespace Util {

// Standard Base64 (RFC 4648 alphabet, '=' padding). [any-thread]
class Base64 {
public:
    static String encode(const std::vector<uint8_t>& bytes);
    // Nothing for text that is not Base64 (wrong characters, length or padding).
    static std::optional<std::vector<uint8_t>> decode(const String& text);
};

} // namespace Util
