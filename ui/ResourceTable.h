#pragma once
#include "util/Text.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace UI {

// A read view of an embedded resource table ("QxResEmbed"): a directory of
// entries (name bytes, a zero byte, u32 offset, u32 size, little-endian) ended
// by an empty name, then the data of each entry at a multiple of 32 bytes from
// the start. The bytes stay where they are; the view keeps only the directory.
// A read view may be used from any thread. [any-thread]
class ResourceTable {
public:
    struct Entry {
        uint32_t offset = 0;
        uint32_t size = 0;
    };

    // Reads the directory; nothing when it is malformed (an entry out of bounds,
    // a missing end of directory), with the reason in `error` when given.
    static std::optional<ResourceTable> read(std::span<const uint8_t> bytes, Util::String* error = nullptr);

    // Exact, case-sensitive look-up.
    std::optional<std::span<const uint8_t>> find(const Util::String& name) const;
    const std::map<Util::String, Entry>& entries() const { return entries_; }

private:
    std::span<const uint8_t> bytes_;
    std::map<Util::String, Entry> entries_;
};

} // namespace UI
