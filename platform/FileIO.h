#pragma once
#include "util/Text.h"

#include <cstdint>
#include <cstdio>

namespace Platform {

// The runtime's buffered file streams with 64-bit positions. Util::File is the
// only client; it turns every failure into a Util::File::Error. [any-thread]

// Opens `path` with a runtime mode string ("rb", "w+b", ...). Others may open
// the same file at the same time; a created file gets read and write permission.
// Null on failure, with the reason in lastErrorCode().
std::FILE* openFile(const Util::String& path, const char* mode);
bool seekFile(std::FILE* file, int64_t offset);           // absolute position
bool seekFileToEnd(std::FILE* file);
int64_t tellFile(std::FILE* file);                        // -1 on failure
// Size of the open file on disk, -1 on failure; bytes still in the stream's write
// buffer are not counted (flush first).
int64_t openFileSize(std::FILE* file);
// The operating system's last error code of the calling thread (errno here).
int lastErrorCode();
// A readable text for an error code of lastErrorCode().
Util::String errorCodeText(int code);

} // namespace Platform
