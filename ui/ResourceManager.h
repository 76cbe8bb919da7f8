#pragma once
#include "ui/ResourceTable.h"
#include "util/Text.h"

#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace UI {

// The bytes of one resource: either a view into the embedded table or a file
// read from the override folder (kept alive by `owned`).
struct ResourceData {
    std::span<const uint8_t> bytes;
    std::shared_ptr<const std::vector<uint8_t>> owned;
};

// The process-wide resource manager: finds the module's embedded table once,
// then answers look-ups by exact, case-sensitive name. When a development
// override folder is set, a file of that name below it wins over the table.
// The folder is taken from the environment variable RELAY_RESOURCE_FOLDER at
// first use, or set by setOverrideFolder. [any-thread]
class ResourceManager {
public:
    static ResourceManager& instance();

    // Finds the module's table registered under `name` ("QxResEmbed"); true
    // when it is there and readable. Registering again does nothing.
    bool registerTable(const Util::String& name);
    std::optional<ResourceData> find(const Util::String& path);
    // The embedded table's bytes of a resource, whatever the override folder holds.
    std::optional<std::span<const uint8_t>> findEmbedded(const Util::String& path);
    // An empty folder switches the override off.
    void setOverrideFolder(const Util::String& folder);
    Util::String overrideFolder() const;
    // The directory of the registered table (empty before registration).
    std::vector<Util::String> names() const;

private:
    ResourceManager();
    bool registerLocked(const Util::String& name);
    mutable std::mutex mutex_;
    std::optional<ResourceTable> table_;
    Util::String overrideFolder_;
};

} // namespace UI
