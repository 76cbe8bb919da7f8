#pragma once
#include "util/Text.h"

#include <cstdint>
#include <vector>

namespace Platform {
class SettingsStore;
}

namespace Util {

// The persistent key/value settings of one registry key path, e.g.
// "SOFTWARE\Quillex\TW6Relay", below a registry root (the current user's unless
// given). Every call opens the key, does its one read or write and closes it
// again: no caching, nothing to flush, and creating a ConfigFile touches
// nothing. A setting's key may hold sub-key parts: "Window/Size" is the value
// "Size" of the sub-key "Window" below the path; "/" and "\" both separate.
// Reads give the caller's default on any failure (missing, wrong type, wrong
// size, unreadable store); writes that fail change nothing; nothing throws.
// Every operation: [any-thread], not audio (it does file I/O).
class ConfigFile {
public:
    explicit ConfigFile(const String& path);
    ConfigFile(const String& path, Platform::SettingsStore& root);
    ConfigFile(const ConfigFile&) = delete;
    ConfigFile& operator=(const ConfigFile&) = delete;

    virtual const String& GetPath() const;
    virtual void GetSubKeys(const String& keyPath, std::vector<String>& names) const;
    virtual void GetValueNames(const String& keyPath, std::vector<String>& names) const;
    virtual String GetString(const String& key, const String& defaultValue) const;
    virtual void SetString(const String& key, const String& value);
    virtual float GetFloat(const String& key, float defaultValue) const;
    virtual void SetFloat(const String& key, float value);
    virtual bool GetBool(const String& key, bool defaultValue) const;
    virtual void SetBool(const String& key, bool value);
    virtual uint32_t GetUInt(const String& key, uint32_t defaultValue) const;
    virtual void SetUInt(const String& key, uint32_t value);
    virtual uint64_t GetUInt64(const String& key, uint64_t defaultValue) const;
    virtual void SetUInt64(const String& key, uint64_t value);
    // Empty when the value is missing or not a byte block.
    virtual void GetBytes(const String& key, std::vector<uint8_t>& bytes) const;
    virtual void SetBytes(const String& key, const std::vector<uint8_t>& bytes);
    virtual void SetBytes(const String& key, const void* data, size_t size);
    virtual void RemoveValue(const String& key);
    // Removes the sub-key named by `key`, with everything below it.
    virtual void RemoveKey(const String& key);
    // Copies one value of any type from the same key of `other`.
    virtual void CopyValueFrom(const String& key, const ConfigFile& other);
    virtual ~ConfigFile();

private:
    struct Location {
        String key;  // full key path
        String name; // value name
    };
    Location locate(const String& key) const;
    String keyBelow(const String& keyPath) const;
    template <typename T>
    T readFixed(const String& key, uint32_t type, T defaultValue) const;
    template <typename T>
    void writeFixed(const String& key, uint32_t type, T value);
    void write(const String& key, uint32_t type, const void* data, size_t size);

    NameRecord path_;
    Platform::SettingsStore& root_;
};

} // namespace Util
