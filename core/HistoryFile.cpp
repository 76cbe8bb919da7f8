#include "core/HistoryFile.h"

#include "core/InvalidHistoryFile.h"
#include "platform/Folders.h"
#include "io/DataStreamIO.h"
#include "io/File.h"
#include "io/FileStream.h"
#include "util/Log.h"

#include <filesystem>

namespace Util {

String HistoryFile::pathFor(const PluginDefinition& definition)
{
    const HostContext none;
    const String productId = definition.productIdentifier(none).text;
    const String folder = Platform::toNativePath(
        format("%1/%2/%3", Platform::userDataFolder(), definition.makerShortName(none).text, productId));
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return format("%1/Qx%2.hst", folder, productId);
}

void HistoryFile::write(const History& history, uint32_t historyWord, DataStream& out)
{
    out.WriteUInt(Magic);
    out.WriteUInt(historyWord);
    for (const auto& snapshot : history.snapshots()) {
        out.WriteUInt(SnapshotTag);
        out.WriteUInt64(snapshot.bytes.size());
        out.WriteBytes(snapshot.bytes);
        out.WriteString(snapshot.text);
    }
    for (uint32_t slot = 0; slot < history.markerSlotCount(); ++slot)
        if (const auto position = history.marker(slot)) {
            out.WriteUInt(MarkerTag);
            out.WriteUInt(slot);
            out.WriteUInt(*position);
        }
}

void HistoryFile::read(History& history, HistoryDelegate& delegate, DataStream& in)
{
    const uint32_t magic = in.ReadUInt();
    if (magic != Magic)
        throw ::Exception::InvalidHistoryFile(format("Invalid magic number %1", magic), __FILE__, __LINE__);
    if (in.ReadUInt() != delegate.historyWord()) {
        history.reset(delegate);
        return;
    }
    history.clear();
    while (!in.AtEnd()) {
        const uint64_t at = in.GetPosition();
        const uint32_t tag = in.ReadUInt();
        if (tag == MarkerTag) {
            const uint32_t slot = in.ReadUInt();
            const uint32_t position = in.ReadUInt();
            if (slot >= history.markerSlotCount())
                throw ::Exception::InvalidHistoryFile(format("Encountered invalid snapshot index %1 at byte %2", slot, at),
                                                    __FILE__, __LINE__);
            history.setMarker(slot, position);
        } else if (tag == SnapshotTag) {
            const uint64_t length = in.ReadUInt64();
            if (length > MaxSnapshotBytes) {
                history.reset(delegate);
                return;
            }
            // A length beyond what the file still holds is a truncated record, not a reason to allocate.
            if (length > in.GetBytesRemaining())
                throw Exception::DataStreamIO(format("Can't extract %1 bytes: %2", length, "the file ends first"),
                                              "filestream", __LINE__);
            History::Snapshot snapshot;
            snapshot.bytes.resize(size_t(length));
            in.ReadBytes(snapshot.bytes);
            in.ReadString(snapshot.text);
            history.add(std::move(snapshot));
        } else {
            throw ::Exception::InvalidHistoryFile(format("Encountered unknown tag %1 at byte %2", tag, at), __FILE__,
                                                __LINE__);
        }
    }
    if (history.snapshots().empty())
        history.reset(delegate);
}

bool HistoryFile::save(const History& history, uint32_t historyWord, const String& path)
{
    try {
        FileStream out(path, File::kWrite);
        write(history, historyWord, out);
        return true;
    } catch (const ::Exception::Base& e) {
        Log::write(format("Could not save the history file %1: %2", path, e.message()));
        return false;
    }
}

void HistoryFile::load(History& history, HistoryDelegate& delegate, const String& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        history.reset(delegate);
        return;
    }
    try {
        FileStream in(path, File::kRead);
        read(history, delegate, in);
    } catch (const ::Exception::Base& e) {
        Log::write(format("History file %1 reset: %2 (%3:%4)", path, e.message(), e.sourceFile(), e.sourceLine()));
        history.reset(delegate);
    }
}

} // namespace Util
