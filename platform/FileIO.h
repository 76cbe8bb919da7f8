#pragma once
#include "util/Text.h"

#include <cstdint>
#include <cstdio>

namespace Platform {

// The runtime's buffered file streams with 64-bit positions. Util::File is the
// only client; it turns every failure into a Util::File::Error. [any-thread]

// Opens `path` with a runtime mode string ("rb", "w+b", ...). Others may open
// the same file at the same time; a created file gets read and write permission.
// While it stays open, removeUnlessOpen leaves the file alone.
// Null on failure, with the reason in lastErrorCode().
std::FILE* openFile(const Util::String& path, const char* mode);
bool seekFile(std::FILE* file, int64_t offset);           // absolute position
bool seekFileToEnd(std::FILE* file);
int64_t tellFile(std::FILE* file);                        // -1 on failure
// Size of the open file on disk, -1 on failure; bytes still in the stream's write
// buffer are not counted (flush first).
int64_t openFileSize(std::FILE* file);
// Drops what the stream holds in its write buffer without writing it: after a
// failed write, whatever did not reach the disk must not land there later, at
// the close, behind bytes written since.
void discardUnwritten(std::FILE* file);
// Cuts the open file to `size` bytes. False on failure, with the reason in lastErrorCode().
bool truncateFile(std::FILE* file, int64_t size);
// Removes the file or link at `path` unless some process has the file open
// through openFile. Elsewhere an open file cannot be deleted, and cleaning the
// shuttle folder relies on that to spare the clips other instances are still
// writing or playing. A link goes, never what it points to; a folder goes only
// when empty. False when nothing was removed.
bool removeUnlessOpen(const Util::String& path);
// The operating system's last error code of the calling thread (errno here).
int lastErrorCode();
// A readable text for an error code of lastErrorCode().
Util::String errorCodeText(int code);

} // namespace Platform
