#pragma once
#include "core/ConsoleCommandDelegate.h"
#include "util/Text.h"

#include <vector>

class BufferProfiler;
namespace Util {
class ConfigFile;
}

// The "perf" console command: status and settings of the inline profiler,
// the registered profilers, and their logs on the clipboard. Answers through
// the platform's message box and clipboard. `profiler` is the calling
// instance's own (null when it does not profile); `settings` is where the
// logging switch for new instances is kept. [ui-thread]
class PerfCommand final : public ConsoleCommand::Delegate {
public:
    static constexpr const char* Name = "perf";
    static const char* const HelpText;

    PerfCommand(Util::ConfigFile& settings, const BufferProfiler* profiler);
    void consoleCommand(const Util::String& line) override;

    // The message of "perf" without a known sub-command.
    static Util::String usageText(const Util::String& command);

private:
    void status();
    void setLogging(const Util::String& value);
    void setPaused(const Util::String& value);
    void setThreshold(const Util::String& value);
    void setAlerts(bool on);
    bool noProfilers();
    void list();
    void clearLog();
    void copyLog(const std::vector<Util::String>& words);

    Util::ConfigFile& settings_;
    const BufferProfiler* profiler_;
};
