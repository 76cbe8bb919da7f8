#include "InstalledBundle.h"

#include "support/TestEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace Lv2Test {

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string install()
{
    const std::string destination = TestSupport::makeTempFolder("lv2-install");
    const auto result = runCommand("DESTDIR='" + destination + "' '" RELAY_CMAKE_COMMAND "' --install '" RELAY_BINARY_DIR
                                   "' --component lv2");
    if (result.status != 0)
        throw std::runtime_error("cmake --install failed: " + result.output);
    for (const auto& entry : fs::recursive_directory_iterator(destination))
        if (entry.is_directory() && entry.path().filename() == "tw6relay.lv2")
            return entry.path().parent_path().string();
    throw std::runtime_error("no tw6relay.lv2 below " + destination);
}

// In a sanitizer build the plug-in needs AddressSanitizer's run-time library
// loaded before every other library, which a foreign host (lilv's tools,
// lv2file, jalv, Ardour) does not do: every program started from here on gets
// it preloaded. Leak detection is off in them, for what those hosts leak is
// their own (third-party) code; this process read its options at its start
// and keeps leak detection for the plug-in it loads itself.
void preloadSanitizerRuntime()
{
#ifdef RELAY_ASAN_RUNTIME
    const char* preloaded = std::getenv("LD_PRELOAD");
    setenv("LD_PRELOAD", (std::string(RELAY_ASAN_RUNTIME) + (preloaded ? std::string(" ") + preloaded : "")).c_str(), 1);
    const char* options = std::getenv("ASAN_OPTIONS");
    setenv("ASAN_OPTIONS", (options && *options ? std::string(options) + ":" : std::string()).append("detect_leaks=0").c_str(), 1);
#endif
}

} // namespace

const std::string& InstalledBundle::lv2Path()
{
    static const std::string path = [] {
        const std::string installed = install();
        setenv("LV2_PATH", installed.c_str(), 1);
        preloadSanitizerRuntime();
        return installed;
    }();
    return path;
}

std::string InstalledBundle::bundle() { return lv2Path() + "/tw6relay.lv2"; }
std::string InstalledBundle::pluginModule() { return bundle() + "/tw6relay_lv2.so"; }
std::string InstalledBundle::uiModule() { return bundle() + "/tw6relay_lv2_ui.so"; }

CommandResult runCommand(const std::string& command)
{
    const std::string errors = TestSupport::makeTempFolder("command") + "/stderr";
    CommandResult result;
    FILE* pipe = popen((command + " 2>'" + errors + "'").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errors = readFile(errors);
    result.output += result.errors;
    return result;
}

} // namespace Lv2Test
