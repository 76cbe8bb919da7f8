#include "io/ConfigFile.h"

#include "platform/SettingsStore.h"
#include "util/ByteOrder.h"
#include "util/Log.h"
#include "util/Utf16.h"

#include <algorithm>
#include <optional>

namespace Util {

namespace {

// Both separators become "\", repeated ones collapse, and none leads or trails.
String normalisePath(const String& path)
{
    String out;
    for (char c : path) {
        const char part = c == '/' ? '\\' : c;
        if (part == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += part;
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

String joinKeys(const String& parent, const String& child)
{
    if (parent.empty() || child.empty())
        return parent + child;
    return parent + '\\' + child;
}

// Store failures are handled inside the store; these guard the rest (memory).
template <typename Fn>
void guarded(Fn&& fn) noexcept
{
    try {
        fn();
    } catch (const std::exception& e) {
        Log::write(format("Settings: %1", e.what()));
    }
}

template <typename T, typename Fn>
T guarded(Fn&& fn, T fallback) noexcept
{
    try {
        return fn();
    } catch (const std::exception& e) {
        Log::write(format("Settings: %1", e.what()));
    }
    return fallback;
}

} // namespace

ConfigFile::ConfigFile(const String& path) : ConfigFile(path, Platform::currentUserSettings()) {}

ConfigFile::ConfigFile(const String& path, Platform::SettingsStore& root) : path_{0, normalisePath(path)}, root_(root) {}

ConfigFile::~ConfigFile() = default;

const String& ConfigFile::GetPath() const { return path_.text; }

ConfigFile::Location ConfigFile::locate(const String& key) const
{
    const String normal = normalisePath(key);
    const size_t last = normal.rfind('\\');
    if (last == String::npos)
        return {path_.text, normal};
    return {joinKeys(path_.text, normal.substr(0, last)), normal.substr(last + 1)};
}

String ConfigFile::keyBelow(const String& keyPath) const { return joinKeys(path_.text, normalisePath(keyPath)); }

void ConfigFile::GetSubKeys(const String& keyPath, std::vector<String>& names) const
{
    guarded([&] { names = root_.subKeyNames(keyBelow(keyPath)); });
}

void ConfigFile::GetValueNames(const String& keyPath, std::vector<String>& names) const
{
    guarded([&] { names = root_.valueNames(keyBelow(keyPath)); });
}

template <typename T>
T ConfigFile::readFixed(const String& key, uint32_t type, T defaultValue) const
{
    return guarded(
        [&] {
            const Location at = locate(key);
            const auto value = root_.readValue(at.key, at.name);
            if (!value || value->type != type || value->data.size() != sizeof(T))
                return defaultValue;
            return loadLittleEndian<T>(value->data.data());
        },
        defaultValue);
}

template <typename T>
void ConfigFile::writeFixed(const String& key, uint32_t type, T value)
{
    uint8_t data[sizeof(T)];
    storeLittleEndian(data, value);
    write(key, type, data, sizeof data);
}

void ConfigFile::write(const String& key, uint32_t type, const void* data, size_t size)
{
    guarded(
        [&] {
            const Location at = locate(key);
            (void)root_.writeValue(at.key, at.name, type, static_cast<const uint8_t*>(data), size);
        });
}

String ConfigFile::GetString(const String& key, const String& defaultValue) const
{
    return guarded(
        [&] {
            const Location at = locate(key);
            const auto value = root_.readValue(at.key, at.name);
            if (!value || value->type != Platform::kRegistryString)
                return defaultValue;
            std::u16string text(value->data.size() / 2, u'\0');
            for (size_t i = 0; i < text.size(); ++i)
                text[i] = char16_t(loadLittleEndian<uint16_t>(value->data.data() + 2 * i));
            text.resize(std::min(text.size(), text.find(u'\0')));
            return fromUtf16(text);
        },
        defaultValue);
}

void ConfigFile::SetString(const String& key, const String& value)
{
    guarded(
        [&] {
            const std::u16string text = toUtf16(value);
            std::vector<uint8_t> data(2 * text.size() + 2, 0);
            for (size_t i = 0; i < text.size(); ++i)
                storeLittleEndian(data.data() + 2 * i, uint16_t(text[i]));
            write(key, Platform::kRegistryString, data.data(), data.size());
        });
}

float ConfigFile::GetFloat(const String& key, float defaultValue) const
{
    return readFixed(key, Platform::kRegistryBinary, defaultValue);
}

void ConfigFile::SetFloat(const String& key, float value) { writeFixed(key, Platform::kRegistryBinary, value); }

bool ConfigFile::GetBool(const String& key, bool defaultValue) const
{
    return readFixed<uint32_t>(key, Platform::kRegistryDWord, defaultValue ? 1 : 0) != 0;
}

void ConfigFile::SetBool(const String& key, bool value) { SetUInt(key, value ? 1 : 0); }

uint32_t ConfigFile::GetUInt(const String& key, uint32_t defaultValue) const
{
    return readFixed(key, Platform::kRegistryDWord, defaultValue);
}

void ConfigFile::SetUInt(const String& key, uint32_t value) { writeFixed(key, Platform::kRegistryDWord, value); }

uint64_t ConfigFile::GetUInt64(const String& key, uint64_t defaultValue) const
{
    return readFixed(key, Platform::kRegistryQWord, defaultValue);
}

void ConfigFile::SetUInt64(const String& key, uint64_t value) { writeFixed(key, Platform::kRegistryQWord, value); }

void ConfigFile::GetBytes(const String& key, std::vector<uint8_t>& bytes) const
{
    bytes.clear();
    guarded(
        [&] {
            const Location at = locate(key);
            auto value = root_.readValue(at.key, at.name);
            if (value && value->type == Platform::kRegistryBinary)
                bytes = std::move(value->data);
        });
}

void ConfigFile::SetBytes(const String& key, const std::vector<uint8_t>& bytes)
{
    SetBytes(key, bytes.data(), bytes.size());
}

void ConfigFile::SetBytes(const String& key, const void* data, size_t size)
{
    write(key, Platform::kRegistryBinary, data, size);
}

void ConfigFile::RemoveValue(const String& key)
{
    guarded(
        [&] {
            const Location at = locate(key);
            (void)root_.removeValue(at.key, at.name);
        });
}

void ConfigFile::RemoveKey(const String& key)
{
    guarded([&] { (void)root_.removeKey(keyBelow(key)); });
}

void ConfigFile::CopyValueFrom(const String& key, const ConfigFile& other)
{
    guarded(
        [&] {
            const Location from = other.locate(key);
            if (const auto value = other.root_.readValue(from.key, from.name))
                write(key, value->type, value->data.data(), value->data.size());
        });
}

} // namespace Util
