#include "platform/posix/PosixShell.h"

#include <atomic>
#include <cerrno>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace Platform {
namespace Posix {

namespace {

bool isUrl(const Util::String& path) { return path.find("://") != Util::String::npos; }

// Runs argv[0] with its arguments in the background of a short-lived shell.
int32_t spawnDetached(const std::vector<Util::String>& argv)
{
    std::vector<Util::String> args = {"/bin/sh", "-c", "\"$0\" \"$@\" >/dev/null 2>&1 &"};
    args.insert(args.end(), argv.begin(), argv.end());
    std::vector<char*> raw;
    for (auto& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, raw.data(), environ) != 0)
        return Shell::AccessDenied;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Shell::Started : Shell::AccessDenied;
}

} // namespace

int32_t PosixShell::open(const Util::String& verb, const Util::String& path, const Util::String& parameters)
{
    if (verb != "open" && !verb.empty())
        return Shell::NoAssociation;
    if (isUrl(path))
        return spawnDetached({"xdg-open", path});
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return errno == ENOTDIR ? Shell::PathNotFound : Shell::FileNotFound;
    if (S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0) {
        std::vector<Util::String> argv{path};
        if (!parameters.empty())
            argv.push_back(parameters);
        return spawnDetached(argv);
    }
    return spawnDetached({"xdg-open", path});
}

} // namespace Posix

namespace {
Posix::PosixShell systemShell;
std::atomic<Shell*> installedShell{nullptr};
} // namespace

Shell& shell()
{
    Shell* s = installedShell.load();
    return s ? *s : systemShell;
}

void installShell(Shell* s) { installedShell.store(s); }

} // namespace Platform
