#pragma once
#include "util/Text.h"

#include <string>
#include <string_view>

namespace Util {

// Conversions between the system's UTF-8 text and the UTF-16 of operating-system
// calls and registry values. Invalid sequences become U+FFFD. [any-thread]
std::u16string toUtf16(std::string_view text);
String fromUtf16(std::u16string_view text);

} // namespace Util
