#include "ui/ResourceTable.h"

#include <cstring>

namespace UI {

namespace {
uint32_t readU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
} // namespace

std::optional<ResourceTable> ResourceTable::read(std::span<const uint8_t> bytes, Util::String* error)
{
    auto fail = [&](const Util::String& reason) -> std::optional<ResourceTable> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    ResourceTable table;
    table.bytes_ = bytes;
    size_t pos = 0;
    for (;;) {
        const void* end = pos < bytes.size() ? std::memchr(bytes.data() + pos, 0, bytes.size() - pos) : nullptr;
        if (!end)
            return fail("the directory has no end");
        const size_t nameEnd = size_t(static_cast<const uint8_t*>(end) - bytes.data());
        if (nameEnd == pos)
            break;
        Util::String name(reinterpret_cast<const char*>(bytes.data() + pos), nameEnd - pos);
        if (nameEnd + 9 > bytes.size())
            return fail(Util::format("entry %1 is cut short", name));
        const Entry entry{readU32(bytes.data() + nameEnd + 1), readU32(bytes.data() + nameEnd + 5)};
        if (uint64_t(entry.offset) + entry.size > bytes.size())
            return fail(Util::format("entry %1 lies outside the table", name));
        table.entries_.emplace(std::move(name), entry);
        pos = nameEnd + 9;
    }
    return table;
}

std::optional<std::span<const uint8_t>> ResourceTable::find(const Util::String& name) const
{
    const auto it = entries_.find(name);
    if (it == entries_.end())
        return std::nullopt;
    return bytes_.subspan(it->second.offset, it->second.size);
}

} // namespace UI
