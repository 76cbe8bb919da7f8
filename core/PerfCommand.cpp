#include "core/PerfCommand.h"

#include "core/BufferProfiler.h"
#include "core/BufferProfilerRegistry.h"
#include "io/ConfigFile.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>

namespace {

using Icon = Platform::MessageBox::Icon;

void tell(const Util::String& title, const Util::String& text, Icon icon = Icon::Information)
{
    Platform::messageBox().show(title, text, icon);
}

std::vector<Util::String> words(const Util::String& line)
{
    std::vector<Util::String> out;
    std::istringstream in(line);
    for (Util::String w; in >> w;)
        out.push_back(w);
    return out;
}

std::optional<bool> zeroOrOne(const Util::String& word)
{
    if (word == "0")
        return false;
    if (word == "1")
        return true;
    return std::nullopt;
}

} // namespace

const char* const PerfCommand::HelpText =
    "Sets state and accesses various options of the inline profiler. Options:\n"
    " status: Show inline profiler status.\n"
    " enablelogging: Enables performance logging. Requires reinstantiation.\n"
    " disablelogging: Disables performance logging. Requires reinstantiation.\n"
    " threshold n%: Sets dropout threshold to n%.\n"
    " enablealerts: Enables dropout alerts when CPU usage crosses the threshold.\n"
    " disablealerts: Disables dropout alerts.\n"
    " list: Shows a list of all registered profilers.\n"
    " clearlog: Reinitializes the state of the current performance log.\n"
    " copylog <profiler name or index>: Copies the performance log for a profiler to the clipboard.";

PerfCommand::PerfCommand(Util::ConfigFile& settings, const BufferProfiler* profiler)
    : settings_(settings), profiler_(profiler)
{
}

Util::String PerfCommand::usageText(const Util::String& command)
{
    const auto c = [&](const char* pattern, const char* sub) { return Util::format(pattern, command, sub); };
    return "Quillex inline profiler supported commands\n\n" + c("%1 %2 | Shows inline profiler status", "status") +
           c("\n%1 %2 <0 or 1>| Enables or disables full data dumps to the clipboard (requires reinstantiation)", "log") +
           c("\n%1 %2 <0 or 1>| Pauses or unpauses profiler logging", "pause") +
           c("\n%1 %2 | Clears logged data from memory", "clearlog") +
           c("\n%1 %2 <new threshold percent> | Sets dropout threshold", "threshold") +
           c("\n%1 %2 <0 or 1>| Enables or disables dropout alerts", "showalerts") +
           c("\n%1 %2 | Shows a list of all registered profilers", "list") +
           c("\n%1 %2 <profiler name or group index>| Copies the full data log for a profiler or profiler group to "
             "the clipboard",
             "copylog");
}

void PerfCommand::consoleCommand(const Util::String& line)
{
    const auto w = words(line);
    const Util::String command = w.empty() ? Util::String(Name) : w[0];
    const Util::String sub = w.size() > 1 ? Util::toLower(w[1]) : Util::String();
    const Util::String arg = w.size() > 2 ? w[2] : Util::String();
    if (sub == "status")
        return status();
    if (sub == "log")
        return setLogging(arg);
    if (sub == "enablelogging" || sub == "disablelogging")
        return setLogging(sub == "enablelogging" ? "1" : "0");
    if (sub == "pause")
        return setPaused(arg);
    if (sub == "threshold")
        return setThreshold(arg);
    if (sub == "showalerts" && zeroOrOne(arg))
        return setAlerts(*zeroOrOne(arg));
    if (sub == "enablealerts" || sub == "disablealerts")
        return setAlerts(sub == "enablealerts");
    if (sub == "list")
        return list();
    if (sub == "clearlog")
        return clearLog();
    if (sub == "copylog")
        return copyLog(w);
    tell("Perf Usage", usageText(command));
}

void PerfCommand::status()
{
    const auto& registry = BufferProfilerRegistry::instance();
    const char* logging = !profiler_ ? "off" : registry.paused() ? "paused" : "on";
    tell("Perf Status", Util::format("Performance logging: %1\nDropout threshold: %2%\nDropout alerts: %3", logging,
                                     registry.thresholdPercent(), registry.alertsEnabled() ? "on" : "off"));
}

void PerfCommand::setLogging(const Util::String& value)
{
    const auto on = zeroOrOne(value);
    if (!on)
        return tell("Perf Usage", usageText(Name));
    settings_.SetBool(BufferProfilerRegistry::LoggingSetting, *on);
    tell("Reinstantiation Required", "You must reinstantiate for logging enable/disable to take effect.");
}

void PerfCommand::setPaused(const Util::String& value)
{
    const auto on = zeroOrOne(value);
    if (!on)
        return tell("Perf Usage", usageText(Name));
    BufferProfilerRegistry::instance().setPaused(*on);
    status();
}

void PerfCommand::setThreshold(const Util::String& value)
{
    const Util::String digits = !value.empty() && value.back() == '%' ? value.substr(0, value.size() - 1) : value;
    uint32_t percent = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), percent);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || percent == 0)
        return tell("Perf Usage", usageText(Name));
    BufferProfilerRegistry::instance().setThresholdPercent(percent);
    status();
}

void PerfCommand::setAlerts(bool on)
{
    BufferProfilerRegistry::instance().setAlertsEnabled(on);
    status();
}

bool PerfCommand::noProfilers()
{
    if (BufferProfilerRegistry::instance().count() > 0)
        return false;
    tell("No Profilers Available",
         "There are no profilers registered at this time. You must instrument at least one function with a "
         "BufferProfiler in order to use the inline profiling tools.");
    return true;
}

void PerfCommand::list()
{
    if (!noProfilers())
        tell("Profiler List", BufferProfilerRegistry::instance().listText());
}

void PerfCommand::clearLog()
{
    if (noProfilers())
        return;
    BufferProfilerRegistry::instance().clearLogs();
    tell("Logs Cleared", "Logged data has been cleared.");
}

void PerfCommand::copyLog(const std::vector<Util::String>& w)
{
    if (w.size() < 3)
        return tell("No Profiler Given", "You must give a profiler name or index to copy results");
    if (noProfilers())
        return;
    // A profiler's name may hold spaces: every word after the sub-command is part of it.
    Util::String key = w[2];
    for (size_t i = 3; i < w.size(); ++i)
        key += " " + w[i];
    bool isGroup = false;
    Util::String found;
    const auto text = BufferProfilerRegistry::instance().logTextFor(key, isGroup, found);
    if (!text)
        return tell("Profiler Not Found", Util::format("'%1' is not a valid profiler name or group index.", key));
    Platform::clipboard().setText(*text);
    tell("Performance Logged", Util::format(isGroup ? "Profiler group %1 results are on the clipboard."
                                                    : "Profiler %1 results are on the clipboard.",
                                            found));
}
