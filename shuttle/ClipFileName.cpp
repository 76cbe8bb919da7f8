#include "shuttle/ClipFileName.h"

#include "core/HostTable.h"

#include <cctype>

namespace Shuttle {

namespace {
bool contains(const Util::String& s, const char* part) { return s.find(part) != Util::String::npos; }

Util::String stem(const Util::String& fileName)
{
    Util::String name = fileName;
    if (const auto slash = name.find_last_of("/\\"); slash != Util::String::npos)
        name = name.substr(slash + 1);
    if (const auto dot = name.find_last_of('.'); dot != Util::String::npos)
        name = name.substr(0, dot);
    return name;
}
} // namespace

Util::String ClipFileName::hostPart(uint32_t hostNumber)
{
    return hostNumber == 36 ? Util::String("Clip") : HostTable::name(hostNumber);
}

Util::String ClipFileName::compose(const Util::String& hostName, uint64_t n, const Util::String& tag, uint32_t collision)
{
    Util::String name = Util::format("%1 %2", hostName, n);
    if (collision > 0)
        name += Util::format(" (%1)", collision);
    return name + Marker + Util::format("%1 %2.wav", n, tag);
}

std::optional<uint64_t> ClipFileName::clipNumber(const Util::String& fileName)
{
    const Util::String name = stem(fileName);
    const auto marker = name.find(Marker);
    if (marker == Util::String::npos)
        return std::nullopt;
    const Util::String rest = name.substr(marker + std::char_traits<char>::length(Marker));
    size_t tagAt = Util::String::npos;
    for (const char* tag : {"captured", "ready", "reference"})
        if ((tagAt = rest.find(tag)) != Util::String::npos)
            break;
    if (tagAt == Util::String::npos)
        tagAt = rest.find("repaired");
    if (tagAt == Util::String::npos || tagAt == 0 || rest[tagAt - 1] != ' ')
        return std::nullopt;
    const Util::String digits = rest.substr(0, tagAt - 1);
    if (digits.empty() || digits.size() > 19)
        return std::nullopt;
    uint64_t n = 0;
    for (char c : digits) {
        if (!std::isdigit(uint8_t(c)))
            return std::nullopt;
        n = n * 10 + uint64_t(c - '0');
    }
    return n;
}

bool ClipFileName::isRepaired(const Util::String& fileName)
{
    return contains(fileName, Marker) && contains(fileName, "repaired");
}

bool ClipFileName::survivesFolderCleaning(const Util::String& fileName)
{
    return contains(fileName, Marker) && (contains(fileName, "reference") || contains(fileName, "ready"));
}

} // namespace Shuttle
