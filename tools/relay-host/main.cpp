// relay-host: a command-line host for the relay plug-in library. It loads the
// library with dlopen, speaks only PluginCoreCallback, and renders WAV files
// through an instance block by block.
#include "HostSession.h"
#include "PluginLibrary.h"
#include "SoundFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char* const usage = R"(usage: relay-host COMMAND [OPTIONS]

Commands:
  info                      print the plug-in information record (selector 0)
  render                    render a WAV file through one plug-in instance

Common options:
  --plugin PATH             plug-in library (default: ../lib/libvo6relay.so beside an installed
                            tool, else the one built beside this tool)
  --as NAME                 present this process to host identification as NAME
                            (re-executes itself with NAME as argv[0]), e.g. --as "Pro Tools"
  --host-name TEXT          host application name answered to reverse call 13
                            (default: the --as name, else "relay-host")
  --host-version X.Y.Z      host application version answered to reverse call 13
  --format N                format identifier in the host context block (default 2, VST)
  --verbose                 log every selector and reverse call to standard error

Render options:
  --in PATH                 input WAV file (any format libsndfile reads)
  --out PATH                output file, 32-bit float WAV; "{pass}" in the name is
                            replaced by the pass number, otherwise the last pass is written
  --block N                 frames per block (default 512)
  --position FRAMES         transport sample position of the first block (default 0)
  --stopped                 transport not playing (position does not advance)
  --flag-a, --flag-b        set flag A / flag B of the process record
  --passes N                render the file N times in one run (default 1)
  --run-state-before A,B    switch the run state (selector 20) before each pass
  --run-state-after A,B     switch the run state after each pass
  --timeline-offset N       before each pass, send the timeline offset host message
                            (selector 40, id 0x4460FADE, 8 bytes: N samples)
  --processing-stopped      after each pass, tell the plug-in that processing stopped
                            (selector 26)
  --idle-every N            call the idle service (selector 39) every N blocks
  --idle-ms MS              keep calling the idle service every 10 ms for MS ms after
                            the last pass (default 0)
  --recording               set the recording creation flag

Environment:
  RELAY_MESSAGE_BOX         "log" (set unless given): the plug-in's notices go to the
                            log only; "dialog": they are shown and wait for a click
)";

struct Arguments {
    std::string command;
    std::map<std::string, std::string> values;
    std::map<std::string, bool> flags;

    bool has(const std::string& k) const { return values.count(k) || flags.count(k); }
    std::string value(const std::string& k, const std::string& fallback = "") const
    {
        auto it = values.find(k);
        return it == values.end() ? fallback : it->second;
    }
};

const char* const valueOptions[] = {"--plugin", "--as", "--host-name", "--host-version", "--format", "--in", "--out",
                                    "--block", "--position", "--passes", "--run-state-before", "--run-state-after",
                                    "--idle-every", "--idle-ms", "--timeline-offset"};
const char* const flagOptions[] = {"--stopped", "--flag-a", "--flag-b", "--recording", "--verbose", "--help",
                                   "--processing-stopped"};

Arguments parse(int argc, char** argv)
{
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        bool known = false;
        for (const char* o : valueOptions)
            if (arg == o) {
                if (i + 1 >= argc)
                    throw std::runtime_error(arg + " needs a value");
                a.values[arg] = argv[++i];
                known = true;
            }
        for (const char* o : flagOptions)
            if (arg == o) {
                a.flags[arg] = true;
                known = true;
            }
        if (!known) {
            if (arg.rfind("--", 0) == 0 || !a.command.empty())
                throw std::runtime_error("unknown argument: " + arg);
            a.command = arg;
        }
    }
    return a;
}

std::string baseName(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Re-executes this program with `name` as argv[0] and without the --as option.
// Installed, the library stands in ../lib beside this tool's folder; in the
// build tree, it is the one built beside the tool.
std::string defaultPlugin()
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const auto installed = self.parent_path().parent_path() / RELAY_INSTALL_LIBDIR / "libvo6relay.so";
        if (std::filesystem::exists(installed, ec))
            return installed.string();
    }
    return RELAY_DEFAULT_PLUGIN;
}

[[noreturn]] void reexecuteAs(const std::string& name, int argc, char** argv)
{
    std::vector<std::string> args{name};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--as") == 0) {
            ++i;
            continue;
        }
        args.emplace_back(argv[i]);
    }
    // The host name must survive the re-execution even without --host-name.
    bool hasHostName = false;
    for (const auto& a : args)
        hasHostName = hasHostName || a == "--host-name";
    if (!hasHostName) {
        args.emplace_back("--host-name");
        args.emplace_back(name);
    }
    std::vector<char*> raw;
    for (auto& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    execv("/proc/self/exe", raw.data());
    throw std::runtime_error("cannot re-execute as " + name);
}

std::pair<uint32_t, uint32_t> parseRunState(const std::string& text)
{
    unsigned a = 0, b = 0;
    if (std::sscanf(text.c_str(), "%u,%u", &a, &b) != 2)
        throw std::runtime_error("run state must be A,B (e.g. 1,0): " + text);
    return {a, b};
}

uint32_t u32(const Arguments& args, const std::string& key, uint32_t fallback)
{
    return args.has(key) ? uint32_t(std::stoul(args.value(key))) : fallback;
}

void printInformation(const std::vector<uint8_t>& r)
{
    auto text = [&](size_t offset) { return std::string(reinterpret_cast<const char*>(r.data() + offset)); };
    auto word = [&](size_t offset) {
        uint32_t v;
        std::memcpy(&v, r.data() + offset, 4);
        return v;
    };
    auto fourcc = [&](size_t offset) {
        const uint32_t v = word(offset);
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    std::printf("maker:              %s (%s)\n", text(64).c_str(), text(0).c_str());
    std::printf("family identifier:  %s\n", text(320).c_str());
    std::printf("product:            %s (%s), id %s\n", text(640).c_str(), text(704).c_str(), text(576).c_str());
    std::printf("version:            %s (%u), build %u\n", text(960).c_str(), word(1024), word(1028));
    std::printf("product number:     %u\n", word(1032));
    std::printf("editor size:        %u x %u\n", word(1148), word(1152));
    std::printf("codes:              maker %s, product %s, second %s, type %s\n", fourcc(3332).c_str(),
                fourcc(2300).c_str(), fourcc(6408).c_str(), fourcc(6652).c_str());
    std::printf("switch F5, F8:      %u, %u\n", word(6428), word(6440));
}

int run(int argc, char** argv)
{
    const Arguments args = parse(argc, argv);
    if (args.has("--help") || args.command.empty()) {
        std::fputs(usage, stdout);
        return args.has("--help") ? 0 : 2;
    }
    // A batch run has nobody to click a notice away: the plug-in only logs
    // it, unless the caller asked for RELAY_MESSAGE_BOX=dialog.
    ::setenv("RELAY_MESSAGE_BOX", "log", 0);
    if (args.has("--as") && baseName(argv[0]) != args.value("--as"))
        reexecuteAs(args.value("--as"), argc, argv);

    const PluginLibrary library(args.value("--plugin", defaultPlugin()));
    HostSession::Options options;
    options.hostName = args.value("--host-name", args.value("--as", "relay-host"));
    options.hostVersion = args.value("--host-version");
    options.formatIdentifier = u32(args, "--format", 2);
    options.verbose = args.has("--verbose");
    HostSession session(library, options);

    if (args.command == "info") {
        // The definition learns the host's version from an instance's reverse call 13.
        if (!options.hostVersion.empty()) {
            session.create(44100.0f, 1);
            session.destroy();
        }
        printInformation(session.pluginInformation());
        return 0;
    }
    if (args.command != "render")
        throw std::runtime_error("unknown command: " + args.command);
    if (!args.has("--in"))
        throw std::runtime_error("render needs --in");

    const SoundFile input = SoundFile::read(args.value("--in"));
    session.create(float(input.sampleRate), channelConfigurationFor(input.channels), args.has("--recording"));
    session.activate();

    HostSession::RenderPass pass;
    pass.blockSize = u32(args, "--block", 512);
    if (pass.blockSize == 0)
        throw std::runtime_error("--block must be at least 1");
    pass.startPosition = std::stod(args.value("--position", "0"));
    pass.playing = !args.has("--stopped");
    pass.flagA = args.has("--flag-a");
    pass.flagB = args.has("--flag-b");
    pass.idleEveryBlocks = u32(args, "--idle-every", 0);
    const uint32_t passes = u32(args, "--passes", 1);

    for (uint32_t p = 1; p <= passes; ++p) {
        if (args.has("--run-state-before")) {
            const auto [a, b] = parseRunState(args.value("--run-state-before"));
            session.switchRunState(a, b);
        }
        if (args.has("--timeline-offset")) {
            int64_t offset = std::stoll(args.value("--timeline-offset"));
            session.propertyMessage(0x4460FADEu, 8, reinterpret_cast<uintptr_t>(&offset), 0);
        }
        SoundFile sound = input;
        session.render(sound, pass);
        if (args.has("--processing-stopped"))
            session.notifyProcessingStopped();
        if (args.has("--run-state-after")) {
            const auto [a, b] = parseRunState(args.value("--run-state-after"));
            session.switchRunState(a, b);
        }
        std::string out = args.value("--out");
        if (const auto at = out.find("{pass}"); at != std::string::npos)
            out.replace(at, 6, std::to_string(p));
        else if (p != passes)
            out.clear();
        if (!out.empty())
            sound.write(out);
        std::fprintf(stderr, "relay-host: pass %u rendered %zu frames x %d channels\n", p, sound.frames(),
                     sound.channels);
    }

    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(u32(args, "--idle-ms", 0));
    while (std::chrono::steady_clock::now() < until) {
        session.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    session.deactivate();
    session.destroy();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "relay-host: %s\n", e.what());
        return 1;
    }
}
