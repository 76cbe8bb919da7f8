#include "platform/FileIO.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace Platform {

std::FILE* openFile(const Util::String& path, const char* mode)
{
    // POSIX has no share modes: every open already allows others to read and
    // write, and fopen creates files with 0666 less the umask.
    return std::fopen(path.c_str(), mode);
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

int lastErrorCode() { return errno; }

Util::String errorCodeText(int code) { return std::strerror(code); }

} // namespace Platform
