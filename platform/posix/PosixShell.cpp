#include "platform/posix/PosixShell.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace Platform {
namespace Posix {

namespace {

bool isUrl(const Util::String& path) { return path.find("://") != Util::String::npos; }

// The program a bare name stands for, searched along PATH as a shell would.
Util::String resolveProgram(const Util::String& name)
{
    if (name.find('/') != Util::String::npos)
        return name;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "/usr/bin:/bin";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const Util::String candidate = Util::String(rest.substr(0, colon)) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return name;
}

int32_t shellCodeOf(int error)
{
    switch (error) {
    case ENOENT: return Shell::FileNotFound;
    case ENOTDIR: return Shell::PathNotFound;
    default: return Shell::AccessDenied; // not a program, not permitted, no resources
    }
}

// Between fork and exec only async-signal-safe calls: the host has threads.
[[noreturn]] void execDetached(const char* program, char* const* argv, int errorPipe)
{
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild != 0) { // the middle process ends at once; init adopts the program
        const int error = errno;
        if (grandchild < 0)
            (void)!::write(errorPipe, &error, sizeof error);
        ::_exit(0);
    }
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0)
        for (int fd = 0; fd <= 2; ++fd)
            ::dup2(devNull, fd);
    ::execve(program, argv, environ);
    const int error = errno;
    (void)!::write(errorPipe, &error, sizeof error);
    ::_exit(127);
}

// Starts argv[0] with its arguments on its own (its own session, not our
// child), and answers whether it really started: an exec that fails sends its
// error back through a close-on-exec pipe, which a successful exec just closes.
int32_t spawnDetached(const std::vector<Util::String>& argv)
{
    const Util::String program = resolveProgram(argv.front());
    std::vector<Util::String> args = argv;
    std::vector<char*> raw;
    for (auto& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0)
        return Shell::AccessDenied;
    const pid_t child = ::fork();
    if (child == 0)
        execDetached(program.c_str(), raw.data(), errorPipe[1]);
    ::close(errorPipe[1]);
    if (child < 0) {
        ::close(errorPipe[0]);
        return Shell::AccessDenied;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do
        got = ::read(errorPipe[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    return got == 0 ? Shell::Started : shellCodeOf(error);
}

} // namespace

namespace {

// The shell's answer when `path` names no file: 0 when it names one.
int32_t missingFile(const Util::String& path, struct stat& info)
{
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return errno == ENOTDIR ? Shell::PathNotFound : Shell::FileNotFound;
    return 0;
}

bool isProgramFile(const Util::String& path, const struct stat& info)
{
    return S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

int32_t spawnProgram(const Util::String& path, const Util::String& parameters)
{
    std::vector<Util::String> argv{path};
    if (!parameters.empty())
        argv.push_back(parameters);
    return spawnDetached(argv);
}

} // namespace

int32_t PosixShell::open(const Util::String& verb, const Util::String& path, const Util::String& parameters)
{
    if (verb != "open" && !verb.empty())
        return Shell::NoAssociation;
    if (isUrl(path))
        return spawnDetached({"xdg-open", path});
    struct stat info {};
    if (const int32_t missing = missingFile(path, info))
        return missing;
    if (isProgramFile(path, info))
        return spawnProgram(path, parameters);
    return spawnDetached({"xdg-open", path});
}

int32_t PosixShell::start(const Util::String& program, const Util::String& parameters)
{
    struct stat info {};
    if (const int32_t missing = missingFile(program, info))
        return missing;
    if (!isProgramFile(program, info))
        return Shell::AccessDenied;
    return spawnProgram(program, parameters);
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
