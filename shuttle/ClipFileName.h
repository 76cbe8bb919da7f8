#pragma once
#include <cstdint>
#include <optional>

#include "util/Text.h"

namespace Shuttle {

// Names of the clip files in the shuttle folder:
//   host name, " ", N, " [tw-relay] ", N, " ", tag, ".wav"
// with " (k)" after the first N when a name is taken. [any-thread]
class ClipFileName {
public:
    static constexpr const char* Marker = " [tw-relay] ";

    // The host table's name, or "Clip" for the unknown host (36).
    static Util::String hostPart(uint32_t hostNumber);
    // The name for clip n with tag; k > 0 inserts " (k)".
    static Util::String compose(const Util::String& hostName, uint64_t clipNumber, const Util::String& tag,
                                uint32_t collision = 0);
    // The clip number of a file name (folder and extension are ignored).
    static std::optional<uint64_t> clipNumber(const Util::String& fileName);

    static bool isRepaired(const Util::String& fileName);        // " [tw-relay] " and "repaired"
    static bool survivesFolderCleaning(const Util::String& fileName); // " [tw-relay] " and "reference" or "ready"
};

} // namespace Shuttle
