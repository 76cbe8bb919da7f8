// relay-host: a command-line host for the relay plug-in library. It loads the
// library with dlopen, speaks only PluginCoreCallback (through the wrapper
// side's library), and renders WAV files through an instance block by block.
#include "SoundFile.h"
#include "wrapper/HostCallbacks.h"
#include "wrapper/PluginInstance.h"
#include "wrapper/PluginLibrary.h"

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
  --flag-a                  set flag A of the process record: an analysis pass (the
                            host keeps nothing that comes out)
  --flag-b                  set flag B of the process record (the host's own flag)
  --passes N                render the file N times in one run (default 1)
  --run-state-before A,B    switch the run state (selector 20: A running, B hold)
                            before each pass
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

void printInformation(const std::vector<uint8_t>& record)
{
    using Info = EntryProtocol::Layout::Information;
    const uint8_t* r = record.data();
    auto text = [&](EntryProtocol::TextField field) { return std::string(EntryProtocol::readText(r, field)); };
    auto word = [&](EntryProtocol::Field<uint32_t> field) { return EntryProtocol::read(r, field); };
    auto fourcc = [&](EntryProtocol::Field<uint32_t> field) {
        const uint32_t v = word(field);
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    std::printf("maker:              %s (%s)\n", text(Info::MakerFullName).c_str(), text(Info::MakerShortName).c_str());
    std::printf("family identifier:  %s\n", text(Info::FamilyIdentifier).c_str());
    std::printf("product:            %s (%s), id %s\n", text(Info::ProductName).c_str(),
                text(Info::ProductLongName).c_str(), text(Info::ProductIdentifier).c_str());
    std::printf("version:            %s (%u), build %u\n", text(Info::VersionText).c_str(), word(Info::VersionNumber),
                word(Info::BuildNumber));
    std::printf("product number:     %u\n", word(Info::ProductNumber));
    std::printf("editor size:        %u x %u\n", word(Info::EditorWidth), word(Info::EditorHeight));
    std::printf("codes:              maker %s, product %s, second %s, type %s\n", fourcc(Info::MakerCode).c_str(),
                fourcc(Info::ProductCode).c_str(), fourcc(Info::SecondProductCode).c_str(),
                fourcc(Info::ComponentTypeCode).c_str());
    std::printf("switch F5, F8:      %u, %u\n", word(Info::switchF(5)), word(Info::switchF(8)));
}

// The host callbacks, telling every reverse call and status word with --verbose.
class TracingHost final : public Wrapper::HostCallbacks {
public:
    TracingHost(Wrapper::HostDescription host, bool verbose) : HostCallbacks(std::move(host)), verbose_(verbose) {}

    int32_t answer(EntryProtocol::ReverseSelector selector, uint32_t index, void* record) override
    {
        if (verbose_)
            std::fprintf(stderr, "relay-host: reverse call %u (index %u)\n", uint32_t(selector), index);
        return HostCallbacks::answer(selector, index, record);
    }

private:
    void statusWordChanged(uint32_t word, uint32_t value) override
    {
        if (verbose_)
            std::fprintf(stderr, "relay-host: status word %u is now %u\n", word, value);
        HostCallbacks::statusWordChanged(word, value);
    }

    bool verbose_;
};

struct RenderPass {
    uint32_t blockSize = 512;
    double startPosition = 0.0;
    bool playing = true;
    bool analysisPass = false;
    bool hostFlag = false;
    uint32_t idleEveryBlocks = 0; // call the idle service every N blocks (0: never)
};

// Renders the sound in place, block by block through selector 22.
void render(Wrapper::PluginInstance& plugin, SoundFile& sound, const RenderPass& pass)
{
    std::vector<float*> channels(size_t(sound.channels));
    Wrapper::Transport transport{pass.startPosition, pass.playing};
    const size_t total = sound.frames();
    uint32_t blocks = 0;
    for (size_t offset = 0; offset < total; offset += pass.blockSize) {
        const size_t n = std::min<size_t>(pass.blockSize, total - offset);
        for (int c = 0; c < sound.channels; ++c)
            channels[size_t(c)] = sound.samples[size_t(c)].data() + offset;
        if (plugin.process(n, channels.data(), transport, pass.analysisPass, pass.hostFlag) != 0)
            throw std::runtime_error("selector 22 failed");
        if (pass.playing)
            transport.samplePosition += double(n);
        if (pass.idleEveryBlocks && ++blocks % pass.idleEveryBlocks == 0)
            plugin.idle();
    }
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

    const Wrapper::PluginLibrary library(args.value("--plugin", defaultPlugin()));
    Wrapper::HostDescription description;
    description.name = args.value("--host-name", args.value("--as", "relay-host"));
    description.version = args.value("--host-version");
    description.formatIdentifier = u32(args, "--format", EntryProtocol::Format::Vst);
    const bool verbose = args.has("--verbose");
    TracingHost host(description, verbose);
    Wrapper::PluginInstance session(library.entry(), host);
    if (verbose)
        session.setCallObserver([](uint32_t selector, uint32_t lockIndex, int32_t status) {
            std::fprintf(stderr, "relay-host: selector %u (lock %u) -> %d\n", selector, lockIndex, status);
        });

    if (args.command == "info") {
        printInformation(session.information());
        return 0;
    }
    if (args.command != "render")
        throw std::runtime_error("unknown command: " + args.command);
    if (!args.has("--in"))
        throw std::runtime_error("render needs --in");

    const SoundFile input = SoundFile::read(args.value("--in"));
    session.create(float(input.sampleRate), EntryProtocol::channelConfigurationFor(uint32_t(input.channels)),
                   args.has("--recording"));
    session.activate();

    RenderPass pass;
    pass.blockSize = u32(args, "--block", 512);
    if (pass.blockSize == 0)
        throw std::runtime_error("--block must be at least 1");
    pass.startPosition = std::stod(args.value("--position", "0"));
    pass.playing = !args.has("--stopped");
    pass.analysisPass = args.has("--flag-a");
    pass.hostFlag = args.has("--flag-b");
    pass.idleEveryBlocks = u32(args, "--idle-every", 0);
    const uint32_t passes = u32(args, "--passes", 1);

    for (uint32_t p = 1; p <= passes; ++p) {
        if (args.has("--run-state-before")) {
            const auto [a, b] = parseRunState(args.value("--run-state-before"));
            session.switchRunState(a != 0, b != 0);
        }
        if (args.has("--timeline-offset")) {
            const int64_t offset = std::stoll(args.value("--timeline-offset"));
            session.propertyMessage(EntryProtocol::PropertyId::TimelineOffset, &offset, sizeof offset,
                                    Wrapper::PluginInstance::AudioThread);
        }
        SoundFile sound = input;
        render(session, sound, pass);
        if (args.has("--processing-stopped"))
            session.processingStopped();
        if (args.has("--run-state-after")) {
            const auto [a, b] = parseRunState(args.value("--run-state-after"));
            session.switchRunState(a != 0, b != 0);
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
