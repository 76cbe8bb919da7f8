#include <gtest/gtest.h>

#include "RecordingBrowser.h"
#include "support/AdoptedPrograms.h"
#include "support/TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

class RegistrationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override { RecordingBrowser::instance(); }
};

[[maybe_unused]] ::testing::Environment* const registration =
    ::testing::AddGlobalTestEnvironment(new RegistrationEnvironment);

} // namespace

RecordingBrowser& RecordingBrowser::instance()
{
    static RecordingBrowser browser;
    return browser;
}

RecordingBrowser::RecordingBrowser()
{
    const std::string home = TestSupport::sandboxFolder();
    const std::string system = TestSupport::makeTempFolder("system-share");
    fs::create_directory_symlink("/usr/share/mime", system + "/mime");
    setenv("XDG_DATA_DIRS", system.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", system.c_str(), 1);
    unsetenv("XDG_CURRENT_DESKTOP");
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home + "/no-session-bus").c_str(), 1);
    setenv("GIO_USE_VFS", "local", 1);

    const std::string folder = TestSupport::makeTempFolder("browser");
    program_ = folder + "/recording-browser";
    log_ = folder + "/arguments.log";
    writeFile(program_, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + log_ + "'\n");
    fs::permissions(program_, fs::perms::owner_all);
    writeFile(std::string(std::getenv("XDG_DATA_HOME")) + "/applications/relay-recording-browser.desktop",
              "[Desktop Entry]\nType=Application\nName=Recording Browser\nExec=\"" + program_ +
                  "\" %u\nMimeType=text/html;\n");
    writeFile(std::string(std::getenv("XDG_CONFIG_HOME")) + "/mimeapps.list",
              "[Default Applications]\ntext/html=relay-recording-browser.desktop\n");
}

std::vector<std::string> RecordingBrowser::argumentsDuring(const std::function<void()>& action) const
{
    fs::remove(log_);
    {
        const TestSupport::AdoptedPrograms programs;
        action();
        programs.waitForAll();
    }
    std::vector<std::string> arguments;
    std::ifstream log(log_);
    for (std::string line; std::getline(log, line);)
        arguments.push_back(line);
    return arguments;
}

RecordingBrowser::Missing::Missing(const RecordingBrowser& browser) : browser_(browser)
{
    fs::rename(browser_.program_, browser_.program_ + ".away");
}

RecordingBrowser::Missing::~Missing() { fs::rename(browser_.program_ + ".away", browser_.program_); }
