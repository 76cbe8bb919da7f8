#pragma once
#include <string>

namespace TestSupport {

// Opens the file with the WAV decoder and, when it synchronises, makes every
// read a client could make: all conversions in odd block sizes, seeks inside
// and past the end, the chunk directory, the markers and the originator
// reference. Answers the message of the failed Sync, or "" when the file
// synchronised. Broken promises (a read answering more frames than asked or
// left, a position out of range) abort, so that a fuzzer sees them.
std::string decodeEverything(const std::string& path);

} // namespace TestSupport
