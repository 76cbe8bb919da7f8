#pragma once
// Independent X clients that read the CLIPBOARD selection, each in a process
// of its own: xclip, and GTK's clipboard through the clipboard-reader program
// (RELAY_CLIPBOARD_READER, which the test program defines). Header-only, so
// that the reader's path comes from the program that includes it.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

struct SelectionRead {
    std::string text;
    int status = -1; // as pclose() answers it; 0 when the reader succeeded
};

struct SelectionReader {
    std::string name;
    std::string command; // the target's name is appended, quoted

    // The selection in `target` as this client pastes it. The bound only stops
    // a reader that hangs (a 16 MiB text in increments takes about a second).
    SelectionRead read(const std::string& target) const
    {
        const std::string line = "NO_AT_BRIDGE=1 timeout 120 " + command + " '" + target + "'";
        SelectionRead read;
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(line.c_str(), "r"), pclose);
        if (!pipe)
            return read;
        char buffer[65536];
        size_t got = 0;
        while ((got = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
            read.text.append(buffer, got);
        read.status = pclose(pipe.release());
        return read;
    }
};

inline std::vector<SelectionReader> selectionReaders()
{
    return {
        {"xclip", "xclip -o -selection clipboard -t"},
#ifdef RELAY_CLIPBOARD_READER
        {"GTK", "'" RELAY_CLIPBOARD_READER "'"},
#endif
    };
}

} // namespace TestSupport
