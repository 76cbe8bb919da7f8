#pragma once
#include "support/ShuttleFolder.h"

#include <string>

namespace Lv2Test {

// The bundle as `cmake --install --component lv2` lays it out, installed once
// per test program into a private folder (DESTDIR below the sandbox); LV2_PATH
// is pointed at the folder that holds it, so every host the tests start finds
// this bundle and no other.
struct InstalledBundle {
    static constexpr const char* Stereo = "http://quillex.example/lv2/tw6relay/stereo";
    static constexpr const char* Mono = "http://quillex.example/lv2/tw6relay/mono";

    // Installs at the first call; the folder LV2_PATH names.
    static const std::string& lv2Path();
    static std::string bundle();       // .../tw6relay.lv2
    static std::string pluginModule(); // the plug-in's shared object in it
    static std::string uiModule();
};

// A command's exit status and what it wrote on standard output and error.
struct CommandResult {
    int status = -1;
    std::string output; // standard output, then standard error
    std::string errors; // standard error alone
};
CommandResult runCommand(const std::string& command);

using TestSupport::resetShuttleFolder;
using TestSupport::shuttleFolder;

} // namespace Lv2Test
