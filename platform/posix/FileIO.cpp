#include "platform/FileIO.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

std::FILE* openFile(const Util::String& path, const char* mode)
{
    // POSIX has no share modes: every open already allows others to read and
    // write, and fopen creates files with 0666 less the umask. A shared
    // advisory lock marks the file as open for removeUnlessOpen; the stream's
    // close releases it.
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file)
        (void)::flock(fileno(file), LOCK_SH | LOCK_NB);
    return file;
}

bool removeUnlessOpen(const Util::String& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) // a link (never followed) or nothing we may read: nobody holds it through openFile
        return std::remove(path.c_str()) == 0;
    // Holding the exclusive lock while unlinking keeps a new openFile from
    // slipping in between the test and the removal.
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        removed = std::remove(path.c_str()) == 0;
    ::close(fd);
    return removed;
}

bool seekFile(std::FILE* file, int64_t offset) { return fseeko(file, off_t(offset), SEEK_SET) == 0; }

bool seekFileToEnd(std::FILE* file) { return fseeko(file, 0, SEEK_END) == 0; }

int64_t tellFile(std::FILE* file) { return int64_t(ftello(file)); }

int64_t openFileSize(std::FILE* file)
{
    struct stat info {};
    if (fstat(fileno(file), &info) != 0)
        return -1;
    return int64_t(info.st_size);
}

void discardUnwritten(std::FILE* file) { __fpurge(file); }

bool truncateFile(std::FILE* file, int64_t size) { return ::ftruncate(fileno(file), off_t(size)) == 0; }

int lastErrorCode() { return errno; }

Util::String errorCodeText(int code) { return std::strerror(code); }

} // namespace Platform
