#include "platform/Folders.h"

#include <algorithm>
#include <cstdlib>

namespace Platform {

namespace {
Util::String envOr(const char* name, const Util::String& fallbackUnderHome)
{
    if (const char* v = std::getenv(name); v && *v)
        return toNativePath(v);
    const char* home = std::getenv("HOME");
    return toNativePath(Util::String(home ? home : "") + "/" + fallbackUnderHome);
}
} // namespace

Util::String toNativePath(Util::String path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

Util::String roamingDataFolder() { return envOr("XDG_DATA_HOME", ".local/share"); }
Util::String userDataFolder() { return roamingDataFolder(); }
Util::String documentsFolder() { return envOr("XDG_DOCUMENTS_DIR", "Documents"); }
Util::String programFilesFolder() { return "/opt"; }
Util::String commonProgramFilesFolder()
{
    if (const char* v = std::getenv("RELAY_COMMON_PROGRAM_FILES"); v && *v)
        return toNativePath(v);
    return "/opt/Common Files";
}
Util::String configFolder() { return envOr("XDG_CONFIG_HOME", ".config"); }

} // namespace Platform
