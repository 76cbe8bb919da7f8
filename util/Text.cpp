#include "util/Text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace Util {

String formatText(std::string_view pattern, const String* args, size_t count)
{
    String out;
    out.reserve(pattern.size() + 16);
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && std::isdigit(uint8_t(pattern[i + 1]))) {
            size_t j = i + 1;
            size_t index = 0;
            while (j < pattern.size() && std::isdigit(uint8_t(pattern[j])))
                index = index * 10 + size_t(pattern[j++] - '0');
            if (index >= 1 && index <= count) {
                out += args[index - 1];
                i = j - 1;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

String toText(double v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}

String toLower(std::string_view s)
{
    String out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

void copyTextField(char* field, size_t size, std::string_view text)
{
    if (size == 0)
        return;
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

} // namespace Util
