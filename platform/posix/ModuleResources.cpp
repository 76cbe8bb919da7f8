#include "platform/ModuleResources.h"

#include <cctype>
#include <cstddef>

// The packed table, generated at build time by the resource packer.
extern "C" {
extern const unsigned char relayResourceTable[];
extern const std::size_t relayResourceTableSize;
}

namespace Platform {

namespace {
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

std::optional<std::span<const uint8_t>> moduleResource(std::string_view type, std::string_view name)
{
    if (!sameName(type, "QXRESEMBED") || !sameName(name, "QXRESEMBED"))
        return std::nullopt;
    return std::span<const uint8_t>(relayResourceTable, relayResourceTableSize);
}

} // namespace Platform
