// libFuzzer target: every input is written to a file and read through the WAV
// decoder by every operation a client has (see DecodeEverything.h). Built with
// clang by tests/audio/tests.cmake; the seed corpus is tests/audio/corpus.
#include "DecodeEverything.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

const std::string& inputPath()
{
    static const std::string path = [] {
        const std::filesystem::path shm = "/dev/shm";
        const auto folder = std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        return (folder / ("relay-wav-fuzz-" + std::to_string(getpid()) + ".wav")).string();
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(inputPath().c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    (void)TestSupport::decodeEverything(inputPath());
    return 0;
}
