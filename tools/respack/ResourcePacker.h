#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Packs files into the embedded resource table "QxResEmbed": a directory of
// (name, zero byte, u32 offset, u32 size) entries, little-endian, sorted by
// name in byte order and ended by an empty name; then each entry's data at a
// multiple of 32 bytes from the start, zero bytes in every gap and up to the
// next multiple of 32 at the end. Layouts and style sheets are stored as text
// with CR LF line ends.
class ResourcePacker {
public:
    // Adds every file below `folder` (hidden files skipped) under the name
    // `prefix` + its relative path with '/' separators. Throws on a name given twice.
    void addFolder(const std::string& prefix, const std::string& folder);
    void add(const std::string& name, std::vector<uint8_t> data);

    std::vector<uint8_t> pack() const;
    // A C++ source that defines the table as `relayResourceTable` and its size
    // as `relayResourceTableSize`.
    static std::string toCppSource(const std::vector<uint8_t>& table);

    // Text resources get CR LF line ends; other data stay as they are.
    static bool isText(const std::string& name);
    static std::vector<uint8_t> withCrLf(const std::vector<uint8_t>& text);

    size_t size() const { return entries_.size(); }

private:
    std::map<std::string, std::vector<uint8_t>> entries_; // std::string orders by byte
};
