#pragma once
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace Util {

// The system's text type: 8-bit text, UTF-8 where a user sees it.
using String = std::string;

// Replaces "%1", "%2", ... in order with the arguments; numbers in decimal.
// A placeholder without an argument stays as it is. [any-thread]
String formatText(std::string_view pattern, const String* args, size_t count);

inline String toText(const String& s) { return s; }
inline String toText(std::string_view s) { return String(s); }
inline String toText(const char* s) { return String(s ? s : ""); }
template <std::integral T>
String toText(T v)
{
    if constexpr (std::is_same_v<T, bool>)
        return v ? "1" : "0";
    else
        return std::to_string(v);
}
String toText(double v);
inline String toText(float v) { return toText(double(v)); }

template <typename... Args>
String format(std::string_view pattern, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0) {
        return String(pattern);
    } else {
        const String texts[] = {toText(args)...};
        return formatText(pattern, texts, sizeof...(Args));
    }
}

String toLower(std::string_view s);

// Copies text into a fixed field of `size` bytes: cut to size - 1 bytes and always
// NUL-terminated; the rest of the field is zero. [any-thread]
void copyTextField(char* field, size_t size, std::string_view text);

// A name of an object (element, queue, lock, pipe): a flag byte and a text.
struct NameRecord {
    uint8_t flag = 0;
    String text;
    bool operator==(const NameRecord&) const = default;
};

} // namespace Util
