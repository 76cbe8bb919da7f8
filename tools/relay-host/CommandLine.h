#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace RelayHost {

// A command line relay-host cannot run: the message names the option and what
// it takes. relay-host prints it and exits with code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the user asks for after a pass, in command-line order: wait for a
// "Shuttle State", or press a control of the window.
struct AfterPassStep {
    enum class Kind { AwaitState, Press };
    Kind kind = Kind::AwaitState;
    uint32_t pass = 1;
    uint32_t state = 0;   // AwaitState
    std::string control;  // Press: the control's name in the window's layout
};

struct Options {
    enum class Command { None, Info, Render };
    enum class Editor { Closed, OffScreen, OnScreen };

    Command command = Command::None;
    bool help = false;
    bool verbose = false;
    std::optional<std::string> plugin;
    std::optional<std::string> as;
    std::optional<std::string> hostName;
    std::string hostVersion;
    uint32_t format = 2;

    std::string in;
    std::string out;
    uint32_t block = 512;
    uint64_t position = 0;
    bool stopped = false;
    bool flagA = false;
    bool flagB = false;
    bool recording = false;
    uint32_t passes = 1;
    std::optional<std::pair<bool, bool>> runStateBefore;
    std::optional<std::pair<bool, bool>> runStateAfter;
    std::optional<int64_t> timelineOffset;
    bool processingStopped = false;
    uint32_t idleEvery = 0;
    uint32_t idleMs = 0;
    uint32_t instances = 1;

    Editor editor = Editor::Closed;
    std::vector<AfterPassStep> afterPass;
    std::string screenshots; // a path pattern; empty: no pictures
    uint32_t awaitMs = 60000;
};

// Parses relay-host's command line strictly: every number whole, in its
// option's range, with nothing after it; a value that an option needs present;
// combinations that cannot run refused. Throws UsageError.
class CommandLine {
public:
    static Options parse(const std::vector<std::string>& arguments); // without the program name

    // The ranges, for the messages and for --help.
    static constexpr uint32_t MaxBlock = 65536;
    static constexpr uint32_t MaxPasses = 10000;
    static constexpr uint32_t MaxIdleMs = 3600000;
    static constexpr uint32_t MaxIdleEvery = 1000000;
    static constexpr uint32_t MaxFormat = 11;
    static constexpr uint64_t MaxPosition = uint64_t(1) << 53; // exact as the transport's double
    static constexpr uint32_t MaxInstances = 256;
    static constexpr uint32_t MaxAwaitMs = 3600000;
};

// The whole number in `text`, from `min` to `max`; UsageError naming `option`
// and the range otherwise.
uint64_t parseWhole(const std::string& option, const std::string& text, uint64_t min, uint64_t max);
int64_t parseSigned(const std::string& option, const std::string& text, int64_t min, int64_t max);

} // namespace RelayHost
