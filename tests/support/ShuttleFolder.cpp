#include "support/ShuttleFolder.h"

#include "io/ConfigFile.h"

#include <cstdlib>
#include <filesystem>

namespace TestSupport {

std::string shuttleFolder()
{
    return std::string(std::getenv("XDG_DATA_HOME")) + "/Quillex/VU 6 Verov Edodod Session Data/Relay";
}

void resetShuttleFolder()
{
    Util::ConfigFile("SOFTWARE\\Quillex\\VO6").RemoveValue("Option/SessionDataFolder");
    std::filesystem::remove_all(shuttleFolder());
}

} // namespace TestSupport
