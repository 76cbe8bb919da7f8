#pragma once
#include "util/Text.h"

namespace Util {
class ConfigFile;
}

namespace Shuttle {

// Finds the editor's program from the install folder setting and starts it
// through the shell, without waiting and without looking for a running one.
// When the shell refuses, the user is told with the "Application Not Found"
// notice. [any-thread], not audio: callers on the audio side hand it to a worker.
class EditorLauncher {
public:
    static constexpr const char* NoticeTitle = "Application Not Found";

    // "InstallPath", by default "<program files>/Quillex\TW 6".
    static Util::String installFolder(const Util::ConfigFile& pluginSettings);
    // The 64-bit program when it exists, else the 32-bit one (not tested).
    static Util::String programPath(const Util::String& installFolder);
    // The notice text for a refused start.
    static Util::String noticeText(const Util::String& programPath, int32_t shellAnswer);
    // Starts the editor; answers the shell's result (above 32 is success).
    static int32_t launch(const Util::ConfigFile& pluginSettings);
};

} // namespace Shuttle
