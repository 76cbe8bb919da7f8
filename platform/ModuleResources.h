#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace Platform {

// The bytes of a resource linked into this module, found by type and name
// (both compared without regard to letter case, as module resources are).
// Here the only one is the packed table of type "QXRESEMBED", name "QxResEmbed".
// The bytes live as long as the module. [any-thread]
std::optional<std::span<const uint8_t>> moduleResource(std::string_view type, std::string_view name);

} // namespace Platform
