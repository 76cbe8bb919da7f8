#pragma once
#include "util/Text.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace Platform {

// Types of registry values, numbered as the registry numbers them.
enum RegistryType : uint32_t {
    kRegistryString = 1, // REG_SZ: UTF-16LE text with its terminating zero
    kRegistryBinary = 3, // REG_BINARY
    kRegistryDWord = 4,  // REG_DWORD: 4 bytes little-endian
    kRegistryQWord = 11, // REG_QWORD: 8 bytes little-endian
};

struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> data; // bytes exactly as the registry holds them
};

// The registry of one root (the current user's, here), as a tree of keys named
// by backslash-separated paths without leading or trailing separators, each
// holding named, typed values. Names compare without regard to ASCII case.
// Every call is self-contained (open, act, close), so a store may be used from
// any thread but the audio thread, and by several processes at once.
// Nothing throws: reads answer nothing and writes answer false on any failure.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::optional<RegistryValue> readValue(const Util::String& key, const Util::String& name) = 0;
    // Creates the key and the keys above it when missing.
    virtual bool writeValue(const Util::String& key, const Util::String& name, uint32_t type, const uint8_t* data,
                            size_t size) = 0;
    virtual bool removeValue(const Util::String& key, const Util::String& name) = 0;
    // Removes the key with its values and every key below it.
    virtual bool removeKey(const Util::String& key) = 0;
    // Names of the keys directly below `key` ("" for the root), in name order.
    virtual std::vector<Util::String> subKeyNames(const Util::String& key) = 0;
    // Names of the values of `key`, oldest first.
    virtual std::vector<Util::String> valueNames(const Util::String& key) = 0;
};

// The current user's registry: one database under the configuration folder,
// shared by every instance and the editor. [any-thread], not audio
SettingsStore& currentUserSettings();

} // namespace Platform
