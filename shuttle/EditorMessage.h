#pragma once
#include <cstdint>

namespace Shuttle {

// The values of the enumerated messages between an instance and the editor.
enum class EditorMessage : int32_t {
    ClearLink = 0,          // editor to plug-in: clears the instance's editor link flag
    ClipsWaiting = 1,       // plug-in to editor, a request: a repair pass's clips wait in the shuttle folder
    ReferenceClipsSent = 2, // plug-in to editor, no reply: a reference pass's clips wait there
    Discard = 3,            // either way: the clips are discarded
    RepairedReady = 4,      // editor to plug-in: repaired clip files wait in the shuttle folder
    WindowOpened = 5,       // plug-in to editor, no reply: the main window was built
};

// The kind of the unsigned message by which the editor tells how many clips it holds.
inline constexpr int32_t ClipsHeldKind = 0;

} // namespace Shuttle
