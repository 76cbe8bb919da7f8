#pragma once
#include "util/Text.h"

#include <functional>
#include <vector>

namespace Util {

// The library's diagnostic log. Messages go to standard error (prefixed
// "[relay] ") and to any installed capture. Tolerated anomalies are logged,
// not failed; tests capture the log to require a clean one for good input.
// Not for the audio thread.
class Log {
public:
    static void write(const String& message); // [any-thread], not audio

    // Collects every message written while it lives (tests).
    class Capture {
    public:
        Capture();
        ~Capture();
        Capture(const Capture&) = delete;
        Capture& operator=(const Capture&) = delete;
        std::vector<String> messages() const;
        bool contains(const String& fragment) const;
    };
    // When set to false, messages are not printed to standard error.
    static void setEcho(bool echo);
};

} // namespace Util
