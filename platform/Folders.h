#pragma once
#include "util/Text.h"

namespace Platform {

// The well-known folders of the user, with '/' separators and no trailing one.
// Every '\' in a composed path becomes '/' (see toNativePath). [any-thread]
Util::String roamingDataFolder();   // $XDG_DATA_HOME or ~/.local/share
Util::String userDataFolder();      // the per-user data folder; same place here
Util::String documentsFolder();     // $XDG_DOCUMENTS_DIR or ~/Documents
Util::String programFilesFolder();  // /opt
// The folder of programs shared between vendors, where outside engines are
// installed: /opt/Common Files, or $RELAY_COMMON_PROGRAM_FILES when set (tests
// point it at a private folder).
Util::String commonProgramFilesFolder();
Util::String configFolder();        // $XDG_CONFIG_HOME or ~/.config
Util::String toNativePath(Util::String path);

} // namespace Platform
