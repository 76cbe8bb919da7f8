#pragma once
#include "util/Text.h"

#include <vector>

namespace UI {

// The items of a list property: texts joined by ';' (an empty text: no items).
inline std::vector<Util::String> splitItems(const Util::String& all)
{
    std::vector<Util::String> result;
    for (size_t start = 0; !all.empty();) {
        const size_t end = all.find(';', start);
        result.push_back(all.substr(start, end == Util::String::npos ? Util::String::npos : end - start));
        if (end == Util::String::npos)
            break;
        start = end + 1;
    }
    return result;
}

} // namespace UI
