#include "CommandLine.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <map>

namespace RelayHost {

namespace {

std::string range(uint64_t min, uint64_t max) { return std::to_string(min) + " to " + std::to_string(max); }

[[noreturn]] void notInRange(const std::string& option, const std::string& text, const std::string& what)
{
    throw UsageError(option + ": \"" + text + "\" is not " + what);
}

std::pair<bool, bool> parseRunState(const std::string& option, const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        notInRange(option, text, "A,B with A and B each 0 or 1 (A running, B hold)");
    const auto flag = [&](const std::string& part) {
        if (part != "0" && part != "1")
            notInRange(option, text, "A,B with A and B each 0 or 1 (A running, B hold)");
        return part == "1";
    };
    return {flag(text.substr(0, comma)), flag(text.substr(comma + 1))};
}

// "PASS:REST", the pass a whole number from 0 (the window open, before the
// first pass) on; checked against --passes later.
std::pair<uint32_t, std::string> parseAfterPass(const std::string& option, const std::string& text,
                                                const std::string& what)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size())
        notInRange(option, text, "PASS:" + what);
    return {uint32_t(parseWhole(option + " (pass)", text.substr(0, colon), 0, CommandLine::MaxPasses)),
            text.substr(colon + 1)};
}

struct Parser {
    Options o;

    using Handler = std::function<void(const std::string& option, const std::string& value)>;
    std::map<std::string, Handler> valued;
    std::map<std::string, std::function<void()>> flags;

    Parser()
    {
        auto whole32 = [](uint32_t& target, uint64_t min, uint64_t max) {
            return [&target, min, max](const std::string& opt, const std::string& v) {
                target = uint32_t(parseWhole(opt, v, min, max));
            };
        };
        valued["--plugin"] = [this](const std::string&, const std::string& v) { o.plugin = v; };
        valued["--as"] = [this](const std::string&, const std::string& v) { o.as = v; };
        valued["--host-name"] = [this](const std::string&, const std::string& v) { o.hostName = v; };
        valued["--host-version"] = [this](const std::string&, const std::string& v) { o.hostVersion = v; };
        valued["--format"] = whole32(o.format, 0, CommandLine::MaxFormat);
        valued["--in"] = [this](const std::string&, const std::string& v) { o.in = v; };
        valued["--out"] = [this](const std::string&, const std::string& v) { o.out = v; };
        valued["--block"] = whole32(o.block, 1, CommandLine::MaxBlock);
        valued["--position"] = [this](const std::string& opt, const std::string& v) {
            o.position = parseWhole(opt, v, 0, CommandLine::MaxPosition);
        };
        valued["--passes"] = whole32(o.passes, 1, CommandLine::MaxPasses);
        valued["--run-state-before"] = [this](const std::string& opt, const std::string& v) {
            o.runStateBefore = parseRunState(opt, v);
        };
        valued["--run-state-after"] = [this](const std::string& opt, const std::string& v) {
            o.runStateAfter = parseRunState(opt, v);
        };
        valued["--timeline-offset"] = [this](const std::string& opt, const std::string& v) {
            o.timelineOffset = parseSigned(opt, v, std::numeric_limits<int64_t>::min(),
                                           std::numeric_limits<int64_t>::max());
        };
        valued["--idle-every"] = whole32(o.idleEvery, 0, CommandLine::MaxIdleEvery);
        valued["--idle-ms"] = whole32(o.idleMs, 0, CommandLine::MaxIdleMs);
        valued["--instances"] = whole32(o.instances, 1, CommandLine::MaxInstances);
        valued["--await-ms"] = whole32(o.awaitMs, 1, CommandLine::MaxAwaitMs);
        valued["--screenshots"] = [this](const std::string& opt, const std::string& v) {
            if (v.empty())
                throw UsageError(opt + " needs a path");
            o.screenshots = v;
        };
        valued["--await"] = [this](const std::string& opt, const std::string& v) {
            const auto [pass, state] = parseAfterPass(opt, v, "STATE");
            AfterPassStep step{AfterPassStep::Kind::AwaitState, pass, 0, {}};
            step.state = uint32_t(parseWhole(opt + " (state)", state, 0, 3));
            o.afterPass.push_back(step);
        };
        valued["--press"] = [this](const std::string& opt, const std::string& v) {
            const auto [pass, name] = parseAfterPass(opt, v, "CONTROL NAME");
            o.afterPass.push_back({AfterPassStep::Kind::Press, pass, 0, name});
        };
        flags["--help"] = [this] { o.help = true; };
        flags["--verbose"] = [this] { o.verbose = true; };
        flags["--stopped"] = [this] { o.stopped = true; };
        flags["--flag-a"] = [this] { o.flagA = true; };
        flags["--flag-b"] = [this] { o.flagB = true; };
        flags["--recording"] = [this] { o.recording = true; };
        flags["--processing-stopped"] = [this] { o.processingStopped = true; };
        flags["--editor"] = [this] { o.editor = std::max(o.editor, Options::Editor::OffScreen); };
        flags["--editor-window"] = [this] { o.editor = Options::Editor::OnScreen; };
    }

    void command(const std::string& word)
    {
        if (o.command != Options::Command::None)
            throw UsageError("unexpected argument: " + word);
        if (word == "info")
            o.command = Options::Command::Info;
        else if (word == "render")
            o.command = Options::Command::Render;
        else
            throw UsageError("unknown command: " + word + " (info or render)");
    }

    void check()
    {
        if (o.help || o.command != Options::Command::Render)
            return;
        if (o.in.empty())
            throw UsageError("render needs --in");
        for (const AfterPassStep& step : o.afterPass)
            if (step.pass > o.passes)
                throw UsageError((step.kind == AfterPassStep::Kind::Press ? "--press" : "--await") +
                                 std::string(": pass ") + std::to_string(step.pass) + " is after the last pass (" +
                                 std::to_string(o.passes) + ")");
        const bool pressing = std::any_of(o.afterPass.begin(), o.afterPass.end(),
                                          [](const AfterPassStep& s) { return s.kind == AfterPassStep::Kind::Press; });
        if ((pressing || !o.screenshots.empty()) && o.editor == Options::Editor::Closed)
            o.editor = Options::Editor::OffScreen;
        if (o.instances > 1) {
            if (o.editor != Options::Editor::Closed || !o.afterPass.empty())
                throw UsageError("--instances: the window options (--editor, --editor-window, --press, --await, "
                                 "--screenshots) drive one instance only");
            if (!o.out.empty() && o.out.find("{instance}") == std::string::npos)
                throw UsageError("--out: with --instances the name needs {instance}, one file per instance");
        }
    }
};

} // namespace

uint64_t parseWhole(const std::string& option, const std::string& text, uint64_t min, uint64_t max)
{
    const std::string what = "a whole number from " + range(min, max);
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    // Digits only: no sign, no blank, no exponent, no fraction.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        notInRange(option, text, what);
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max)
        notInRange(option, text, what);
    return value;
}

int64_t parseSigned(const std::string& option, const std::string& text, int64_t min, int64_t max)
{
    const std::string what = "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    const size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits || text.find_first_not_of("0123456789", digits) != std::string::npos)
        notInRange(option, text, what);
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < min || value > max)
        notInRange(option, text, what);
    return value;
}

Options CommandLine::parse(const std::vector<std::string>& arguments)
{
    Parser parser;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (const auto v = parser.valued.find(arg); v != parser.valued.end()) {
            if (i + 1 >= arguments.size())
                throw UsageError(arg + " needs a value");
            v->second(arg, arguments[++i]);
        } else if (const auto f = parser.flags.find(arg); f != parser.flags.end()) {
            f->second();
        } else if (arg.rfind("--", 0) == 0) {
            throw UsageError("unknown option: " + arg);
        } else {
            parser.command(arg);
        }
    }
    parser.check();
    return parser.o;
}

} // namespace RelayHost
