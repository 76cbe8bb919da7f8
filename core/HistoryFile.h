#pragma once
#include <cstdint>

#include "core/History.h"
#include "core/PluginDefinition.h"
#include "io/DataStream.h"

namespace Util {

// The undo history on disk:
//   u32 magic 3891293, u32 history word, then tagged records to the end:
//   81232: u64 length, the snapshot bytes, the snapshot's text
//   17711: u32 marker slot, u32 snapshot position
// Snapshots come first in list order, then the non-empty marker slots. [ui-thread]
class HistoryFile {
public:
    static constexpr uint32_t Magic = 3891293;
    static constexpr uint32_t SnapshotTag = 81232;
    static constexpr uint32_t MarkerTag = 17711;
    static constexpr uint64_t MaxSnapshotBytes = 1000000000;

    // "<per-user data folder>/<maker short name>/<product id>/Qx<product id>.hst";
    // the folder is created when missing.
    static String pathFor(const PluginDefinition& definition);

    static void write(const History& history, uint32_t historyWord, DataStream& out);
    // Reads into `history`; throws Exception::InvalidHistoryFile or
    // Util::Exception::DataStreamIO. A foreign history word or a file without
    // snapshots resets the history instead.
    static void read(History& history, HistoryDelegate& delegate, DataStream& in);

    // The instance's entry points: never throw. A file that cannot be read for
    // any reason resets the history (and logs why, unless it just does not exist).
    static bool save(const History& history, uint32_t historyWord, const String& path);
    static void load(History& history, HistoryDelegate& delegate, const String& path);
};

} // namespace Util
